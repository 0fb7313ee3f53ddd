// Program texts at the platform's wide-character interfaces. Every program text is code page
// 936 whatever the system's ANSI code page is, so the runtime converts with 936 itself and
// hands the platform UTF-16: an ANSI function would read the bytes in the system's code page.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>

inline constexpr UINT kProgramCodePage = 936;

// The UTF-16 units of text written into wide (capacity units; with no room, only counted). A
// byte sequence that code page 936 does not define becomes what the platform makes of it.
int ProgramTextToWide(std::string_view text, wchar_t *wide, int capacity);
// The code page 936 bytes of wide written into text (capacity bytes; with no room, only
// counted). A character that code page 936 cannot hold becomes "?", as the platform's own
// conversion makes it.
int WideToProgramText(std::wstring_view wide, char *text, int capacity);

std::wstring ProgramTextToWide(std::string_view text);
std::string WideToProgramText(std::wstring_view wide);

// Whether byte begins a double-byte character of code page 936.
bool IsProgramLeadByte(uint8_t byte);
// Whether byte can follow a lead byte as its trail; a lead byte before any other byte is a
// character of its own.
constexpr bool IsProgramTrailByte(uint8_t byte) {
    return byte >= 0x40 && byte != 0x7F && byte != 0xFF;
}

// A typed character (one UTF-16 unit, as a wide window receives it) as the program's character
// code: a single byte, or a double-byte character as lead byte * 256 + trail byte.
uint32_t WideCharacterToProgram(wchar_t character);
// The UTF-16 unit of a program character code (the inverse of WideCharacterToProgram).
wchar_t ProgramCharacterToWide(uint32_t character);

// A window's text, read through the wide function, as program text.
std::string WindowProgramText(HWND window);
// Sets a window's text through the wide function; false when the window refused it.
bool SetWindowProgramText(HWND window, std::string_view text);
