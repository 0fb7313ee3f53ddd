// What one line of an edit box holds when program code writes the box's content. The platform's
// multi-line edit control lays out a wrapped line in time growing with the square of its length
// (a 200,000-character line takes minutes, the window frozen meanwhile), so a line is cut at a
// length no title or address ever reaches, and the box takes any text in moments.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Characters (a double-byte character of the code page counting one) a line keeps.
inline constexpr size_t kEditLineCharacters = 4096;

// text with every line longer than kEditLineCharacters cut to that many characters; a line ends
// at a line feed, and a carriage return before the line feed stays with the break. text itself,
// storage untouched, when no line is that long; otherwise the cut text, held in storage.
std::string_view BoundEditLines(std::string_view text, std::string &storage);
