// <windows.h> and friends, without the A/W name macros that collide with the interfaces' names.
#pragma once

// <windows.h> first: the others need its types.
// clang-format off
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>
#include <windowsx.h>
// clang-format on

#undef GetPrivateProfileInt
#undef GetPrivateProfileString
#undef WritePrivateProfileString
#undef ReplaceFile
#undef GetLogicalDriveStrings
#undef GetDriveType
#undef RegDeleteKey
