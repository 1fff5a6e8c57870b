// A small dialog for the framework's tests: a template with one control of
// every kind, and a dialog class whose message map records what reached it.
#pragma once

#include <functional>
#include <vector>

#include "framework/window/dialog.h"

// Control ids of the test template.
enum : int {
    IDC_T_EDIT1 = 100,
    IDC_T_EDIT2 = 101,
    IDC_T_LABEL = 102,
    IDC_T_FRAME = 103,
    IDC_T_RADIO_A = 104,
    IDC_T_RADIO_B = 105,
    IDC_T_PRESS = 106,
    IDC_T_OTHER = 107,
    IDC_T_RANGE_FIRST = 108,
    IDC_T_RANGE_LAST = 110,
    IDC_T_DISABLED = 111,
    IDC_T_HIDDEN = 112,
    IDC_T_UNMAPPED = 113,
};

// The template: 200 x 120 units, "ＭＳ Ｐゴシック" 9 pt.
extern const DialogTemplate kTestDialogTemplate;

class CTestDlg : public CDialog {
public:
    CTestDlg() : CDialog(kTestDialogTemplate) {}

    // What reached the dialog.
    int initCount = 0;
    int presses = 0;
    int otherPresses = 0;
    std::vector<unsigned> rangeIds;
    int closes = 0;
    int destroys = 0;
    bool windowAliveAtDestroy = false;
    int okCount = 0;
    int cancelCount = 0;

    // Optional actions run inside the handlers.
    std::function<void()> onInit;
    std::function<void()> onPress;
    std::function<void()> onClose;
    bool keepOpenOnClose = false;

    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

protected:
    void OnPress();
    void OnOther();
    void OnRange(unsigned id);
    void OnClose();
    void OnDestroy();

    DECLARE_MESSAGE_MAP()
};

// A derived class whose map takes over one button of its base's map.
class CDerivedTestDlg : public CTestDlg {
public:
    int derivedPresses = 0;

protected:
    void OnPressDerived() { ++derivedPresses; }

    DECLARE_MESSAGE_MAP()
};
