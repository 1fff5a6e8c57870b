// What assistive technologies find in a dialog's window: its controls, less
// those its template never shows (such as a hidden default button, which
// stands for the Enter key only and is never reached). Qt lists every child
// widget, shown or not; the system the templates come from leaves such
// controls to no reader either.
#pragma once

class QWidget;

// Leaves `control` out of the children its dialog window shows assistive
// technologies. The framework calls it for a control whose template lacks
// WS_VISIBLE; such a control is never shown afterwards.
void HideFromAssistiveTechnologies(QWidget* control);

// Gives every dialog window (DialogWindow) the view above. Called before each
// dialog window is made (DialogPort), so before anything can ask for its
// interface; installs once per process.
void InstallDialogAccessibility();
