// Code page conversion between program texts (code page 936) and UTF-16.
#pragma once

#include <windows.h>

// A new runtime-heap block with text as UTF-16, NUL-terminated; the caller frees it. A null
// text gives an empty string.
wchar_t *TextToWide(const char *text);
// A new BSTR holding text, or null when the system cannot allocate it.
BSTR TextToBstr(const char *text);
// A new heap text of wide up to its first NUL, or null when that is empty.
char *WideToText(const wchar_t *wide);
