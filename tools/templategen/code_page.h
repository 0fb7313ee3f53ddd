// Conversion of the description's UTF-8 texts into the program's code page 936 bytes.
#pragma once

#include <string>
#include <string_view>

// Throws std::runtime_error when the text is not valid UTF-8 or has no code page 936 form.
std::string ToCodePage936(std::string_view utf8);
