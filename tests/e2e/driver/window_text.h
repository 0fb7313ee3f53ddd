// Reading the texts of another process's windows and message boxes, shared by the GUI driver and
// the allocation sweep: code page 936 bytes as the program holds them, every read bounded.
#pragma once

#include <windows.h>

#include <string>

// The code page 936 bytes of wide, as the program holds its texts.
std::string ProgramBytes(const std::wstring &wide);
// The text of a window of another process, read wide and converted here so that the reader's
// own system code page never comes between the window and the comparison; false when the window
// does not answer within milliseconds.
bool ReadWindowText(HWND window, DWORD milliseconds, std::string &text);
// The same, empty when the window does not answer.
std::string ReadWindowText(HWND window, DWORD milliseconds);
// The message of a message box (its static text control).
std::string ReadBoxMessage(HWND box, DWORD milliseconds);
// Shows bytes readably: printable ASCII as is, everything else as \xHH.
std::string Printable(const std::string &bytes);
