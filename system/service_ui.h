// What the service operations show the user besides the password dialog.
#pragma once

#include <windows.h>

namespace kt {

// A message box whose text and caption come from the library's string table.
int StringTableBox(HWND owner, UINT textId, UINT captionId, UINT flags);

}  // namespace kt
