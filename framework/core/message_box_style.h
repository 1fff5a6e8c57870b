// The style of a message box: its buttons, its icon and its modality. Qt-free,
// so that the exception family can say how a failure is to be shown and the
// window framework can show it. On Windows these are the platform's own names
// (its headers define them as macros, which a second definition would clash
// with); elsewhere the same values.
#pragma once

#include "platform/win_types.h"

#ifndef _WIN32
// Buttons (low four bits of the style).
inline constexpr unsigned MB_OK = 0x0;
inline constexpr unsigned MB_OKCANCEL = 0x1;
inline constexpr unsigned MB_YESNOCANCEL = 0x3;
inline constexpr unsigned MB_YESNO = 0x4;
inline constexpr unsigned MB_TYPEMASK = 0xF;
// Icons.
inline constexpr unsigned MB_ICONSTOP = 0x10;
inline constexpr unsigned MB_ICONQUESTION = 0x20;
inline constexpr unsigned MB_ICONEXCLAMATION = 0x30;
inline constexpr unsigned MB_ICONINFORMATION = 0x40;
inline constexpr unsigned MB_ICONMASK = 0xF0;
// Modality.
inline constexpr unsigned MB_SYSTEMMODAL = 0x1000;
#endif
