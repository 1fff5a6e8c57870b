// The control factory: builds the widget of one control of a dialog template,
// and connects a button's clicks to its dialog's message map.
//
// The kinds: a push button (never a default button of its own: the dialog
// handles Enter), an automatic radio button (not exclusive by itself, and a
// click always selects), a frame (group box), an edit field (framed with
// WS_BORDER), a label (plain text, wrapped) and an icon (SS_ICON). A control
// is a tab stop when its style has WS_TABSTOP; frames and labels take neither
// the focus nor the mouse.
#pragma once

#include "framework/core/dialog_template.h"
#include "framework/window/dialog_units.h"

class CDialog;
class QAbstractButton;
class QWidget;

// The widget of `item`, a child of `parent`, at `rect` (the item's rectangle
// already converted to pixels), with its id and text (control_text.h),
// enabled and visible as its style says. A frame stays behind the other
// controls.
QWidget* CreateControl(const DialogItemTemplate& item, const PixelRect& rect, QWidget* parent);

// Sends each click of `button` to `dialog` as the command `id`, through the
// dialog's one dispatch, for as long as the button lives.
void ConnectClick(QAbstractButton* button, CDialog& dialog, int id);
