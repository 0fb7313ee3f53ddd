// libFuzzer target: reading the received cookies from a raw response header block. Beyond
// memory safety and the heap balance: the block changes only in the letter case of
// "Set-Cookie", each Set-Cookie line gives its own cookie and no other line gives one, no cookie
// holds a line break, and a plain ASCII line gives exactly its first name=value pair.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/web/received_cookies.h"
#include "fuzz/fuzz_support.h"

namespace {

constexpr std::string_view kSetCookieName = "set-cookie:";

std::string AsciiLower(std::string_view text) {
    std::string lower(text);
    for (char &c : lower) {
        c = static_cast<char>(FoldAsciiLetter(static_cast<uint8_t>(c)));
    }
    return lower;
}

// HTTP ends a line at its line-break bytes, whatever stands before them.
std::vector<std::string_view> Lines(std::string_view block) {
    std::vector<std::string_view> lines;
    for (size_t start = 0; start <= block.size();) {
        const size_t end = std::min(block.find_first_of("\r\n", start), block.size());
        lines.push_back(block.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

bool IsSetCookieLine(std::string_view line) {
    return AsciiLower(line.substr(0, kSetCookieName.size())) == kSetCookieName;
}

std::string WithoutOuterSpaces(std::string_view text) {
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    return std::string(text.substr(first, text.find_last_not_of(' ') - first + 1));
}

std::string ReadCookies(const std::string &block, std::string *blockAfter) {
    fuzz::Variable headers(block);
    std::string cookies = fuzz::Take(ReadReceivedCookies(&headers.value));
    if (blockAfter != nullptr) {
        *blockAfter = headers.str();
    }
    return cookies;
}

// The cookie of one Set-Cookie line, read on its own.
std::string CookieOfLine(std::string_view line) {
    const std::string cookie = ReadCookies(std::string(line), nullptr);
    fuzz::Check(AsciiLower(line).find(AsciiLower(cookie)) != std::string::npos,
                "a cookie that is not text of its line");
    if (fuzz::IsPlainAscii(line)) {
        const std::string_view value = line.substr(kSetCookieName.size());
        fuzz::Check(cookie == WithoutOuterSpaces(value.substr(0, value.find(';'))),
                    "a plain line does not give its first name=value pair");
    }
    return cookie;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const fuzz::HeapBalance balance;
    const std::string block = fuzz::TextOf(data, size);
    std::string normalised;
    const std::string cookies = ReadCookies(block, &normalised);

    fuzz::Check(normalised.size() == block.size() && AsciiLower(normalised) == AsciiLower(block),
                "the block changed beyond the letter case of Set-Cookie");
    fuzz::Check(cookies.find_first_of("\r\n") == std::string::npos, "a cookie holds a line break");

    std::string expected;
    bool first = true;
    for (std::string_view line : Lines(normalised)) {
        if (IsSetCookieLine(line)) {
            expected += (first ? "" : "; ") + CookieOfLine(line);
            first = false;
        }
    }
    fuzz::Check(cookies == expected, "the cookies are not those of the Set-Cookie lines in order");
    return 0;
}
