// Windows' headers for the Win32 backend. The dialog layer has its own
// IDOK, IDCANCEL, WM_USER and notification codes, with Windows' values;
// Windows' macros of the same names would hide them, so they go.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>

#undef IDOK
#undef IDCANCEL
#undef WM_USER
#undef BN_CLICKED
#undef CBN_SELCHANGE
#undef EN_CHANGE

#include "ui/dialog.h"
// Windows' message macros that count from WM_USER (PBM_SETPOS, EM_LIMITTEXT,
// DM_GETDEFID...) find the layer's WM_USER inside namespace tenji::ui.
