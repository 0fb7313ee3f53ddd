// The minimal downloader's click work: fetch a play page and find its track's three lines.
#pragma once

#include <string>

// The page at url, read with one WinInet GET: the body's bytes, empty when the fetch failed.
std::string FetchPageDirectly(const std::string &url);

// The last track list of the page as the title, the m4a address and the mp3 address joined by
// CR LF, found by "VBScript.RegExp" called by name; empty when the page holds no list.
std::string TrackLinesOfPage(const std::string &page);
