// The minimal downloader's click work: fetch a play page and find its track's three lines.
#pragma once

#include <windows.h>

#include <string>

// The downloader's track-list pattern (its constant TrackListPattern).
inline constexpr wchar_t kTrackListPattern[] =
    LR"re(var list=\[\{title:"(.*?)",artist:"-",m4a: s_str\+"(.*?).m4a"\}\])re";

// UTF-16 text in the ANSI code page, as the output box receives it.
std::string AnsiText(const wchar_t *wide, int length);

// The output box's three lines for a track's title and path stem.
std::string ComposeTrackLines(const std::string &title, const std::string &path);

// The page at url, read with one WinInet GET in pieces of readBytes: the body's bytes up to the
// first zero byte, empty when the fetch failed.
std::string FetchPageDirectly(const std::string &url, DWORD readBytes);

// The last track list of the page as the title, the m4a address and the mp3 address joined by
// CR LF, found by "VBScript.RegExp" called by name; empty when the page holds no list.
std::string TrackLinesOfPage(const std::string &page);

// The same lines found by the program's own regular-expression engine called directly.
std::string TrackLinesOfPageDirectly(const std::string &page);
