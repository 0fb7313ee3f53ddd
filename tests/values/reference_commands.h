// A deliberately plain byte-by-byte model of the character-aware text commands, written from
// their rules and nothing else, to check the real commands against.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace Reference {

int32_t FindText(const std::string &text, const std::string &sought, std::optional<int32_t> start,
                 uint32_t ignoreCase);
int32_t FindTextBackward(const std::string &text, const std::string &sought,
                         std::optional<int32_t> start, uint32_t ignoreCase);
std::string ReplaceSubtext(const std::string &text, const std::string &sought,
                           const std::string &replacement, std::optional<int32_t> start,
                           std::optional<int32_t> count, uint32_t caseSensitive);
std::vector<std::string> SplitText(const std::string &text,
                                   const std::optional<std::string> &delimiter,
                                   std::optional<int32_t> maximum);
std::string TrimSpaces(const std::string &text);
std::string RemoveAllSpaces(const std::string &text);
std::string ToLowerCase(const std::string &text);
std::string HalfWidthFold(const std::string &text);
int32_t ToInteger(const std::string &text);

} // namespace Reference
