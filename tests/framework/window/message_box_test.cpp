// The one message box function: the hook records and answers each box; with
// no hook a real Qt box is shown.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <QWidget>

#include "framework/core/dialog_template.h"
#include "framework/window/message_box.h"
#include "tests/support/cstring_printer.h"

namespace {

TEST(MessageBoxTest, HookRecordsTheBoxAndItsAnswerIsReturned) {
    std::vector<MessageBoxCall> calls;
    const MessageBoxHook previous = SetMessageBoxHook([&](const MessageBoxCall& call) {
        calls.push_back(call);
        return IDNO;
    });
    QWidget owner;
    EXPECT_EQ(ShowMessageBox(&owner, u"本文\r\n二行目", u"題", MB_YESNO | MB_ICONQUESTION), IDNO);
    SetMessageBoxHook(previous);

    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].owner, &owner);
    EXPECT_EQ(calls[0].text, CString(u"本文\r\n二行目"));
    EXPECT_EQ(calls[0].title, CString(u"題"));
    EXPECT_EQ(calls[0].style, MB_YESNO | MB_ICONQUESTION);
    EXPECT_EQ(calls[0].icon(), MB_ICONQUESTION);
    EXPECT_EQ(calls[0].buttons(), MB_YESNO);
}

TEST(MessageBoxTest, SetHookReturnsTheHookBefore) {
    int first = 0;
    const MessageBoxHook original = SetMessageBoxHook([&](const MessageBoxCall&) {
        ++first;
        return IDOK;
    });
    const MessageBoxHook replaced = SetMessageBoxHook(MessageBoxHook());
    ASSERT_TRUE(static_cast<bool>(replaced));
    replaced(MessageBoxCall{nullptr, CString(), CString(), 0});
    EXPECT_EQ(first, 1);
    SetMessageBoxHook(original);
}

// Closes the real box that is open with the given button, after checking it.
struct RealBox {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    int buttonCount = 0;
    bool seen = false;
};

void AnswerRealBox(RealBox& seen, QMessageBox::StandardButton answer) {
    QTimer::singleShot(0, [&seen, answer] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        seen.seen = true;
        seen.title = box->windowTitle();
        seen.text = box->text();
        seen.icon = box->icon();
        seen.buttonCount = static_cast<int>(box->buttons().size());
        box->button(answer)->click();
    });
}

TEST(MessageBoxTest, WithoutHookARealBoxShowsTextTitleIconAndButtons) {
    ASSERT_FALSE(static_cast<bool>(SetMessageBoxHook(MessageBoxHook())));
    RealBox seen;
    AnswerRealBox(seen, QMessageBox::Ok);
    EXPECT_EQ(ShowMessageBox(nullptr, u"一行目\r\n二行目", u"TSKエラー", MB_OK | MB_ICONSTOP),
              IDOK);
    EXPECT_TRUE(seen.seen);
    EXPECT_EQ(seen.title, QStringLiteral("TSKエラー"));
    EXPECT_EQ(seen.text, QStringLiteral("一行目\n二行目"));
    EXPECT_EQ(seen.icon, QMessageBox::Critical);
    EXPECT_EQ(seen.buttonCount, 1);
}

TEST(MessageBoxTest, RealBoxAnswersYesNo) {
    RealBox seen;
    AnswerRealBox(seen, QMessageBox::No);
    EXPECT_EQ(ShowMessageBox(nullptr, u"?", u"t", MB_YESNO | MB_ICONEXCLAMATION), IDNO);
    EXPECT_EQ(seen.icon, QMessageBox::Warning);
    EXPECT_EQ(seen.buttonCount, 2);

    RealBox info;
    AnswerRealBox(info, QMessageBox::Ok);
    EXPECT_EQ(ShowMessageBox(nullptr, u"i", u"t", MB_OK | MB_ICONINFORMATION), IDOK);
    EXPECT_EQ(info.icon, QMessageBox::Information);
}

}  // namespace
