// ReadReceivedCookies, written as program code over the kernel commands.
#include "app/web/received_cookies.h"

#include <cstring>
#include <string_view>

#include "app/web/joined_text.h"
#include "app/web/program_text.h"
#include "values/kernel_calls.h"

using namespace web;

namespace {

const char *const kSetCookie = ConstantText(Constant::SetCookie);
const std::string_view kSetCookieName = ConstantText(Constant::SetCookieName);
const char *const kLineEnds = ConstantText(Constant::LineBreak);
const char *const kSemicolon = ConstantText(Constant::Semicolon);
const char *const kCookieSeparator = ConstantText(Constant::CookieSeparator);

// A new text holding these bytes (null when there are none). Slicing the value out of the block
// directly keeps each line's cost to its own length; a text command would measure the whole
// rest of the block for every line.
Text TextOfBytes(std::string_view bytes) {
    if (bytes.empty()) {
        return nullptr;
    }
    Text text = static_cast<Text>(AllocateMemory(static_cast<uint32_t>(bytes.size()) + 1));
    std::memcpy(text, bytes.data(), bytes.size());
    text[bytes.size()] = '\0';
    return text;
}

// The first name=value pair of a Set-Cookie value: the bytes up to its first ";", trimmed.
Text CookieOfValue(std::string_view setCookieValue) {
    Text value = TextOfBytes(setCookieValue);
    const int32_t semicolon = Kernel::FindText(Arg(value), kSemicolon, {}, false);
    if (semicolon != -1) {
        Store(&value, Kernel::LeftText(Arg(value), Whole(static_cast<double>(semicolon) - 1)));
    }
    Text cookie = Kernel::TrimSpaces(Arg(value));
    FreeMemory(value);
    return cookie;
}

} // namespace

// Lines end at every CR or LF byte, whatever byte stands before it. HTTP frames its lines in
// bytes; a character-aware split would take a value's last lone lead byte and the CR behind it
// for one character, so the next header would hide inside this line, and a cookie holding a line
// break would inject a header line when the caller sends it back. Only a line whose field name
// is Set-Cookie sets a cookie: other headers mention it too (Cache-Control: no-cache="set-cookie",
// Vary: Set-Cookie), and their text must not turn into a cookie.
Text ReadReceivedCookies(Text *responseHeaders) {
    Store(responseHeaders,
          Kernel::ReplaceSubtext(Arg(*responseHeaders), kSetCookie, kSetCookie, {}, {}, false));
    const std::string_view headers(Arg(*responseHeaders));
    // Joined in one growing block: tens of thousands of Set-Cookie lines cost time in proportion
    // to their size.
    JoinedText cookies(kCookieSeparator);
    for (size_t start = 0; start < headers.size();) {
        size_t end = headers.find_first_of(kLineEnds, start);
        if (end == std::string_view::npos) {
            end = headers.size();
        }
        const std::string_view line = headers.substr(start, end - start);
        if (line.starts_with(kSetCookieName)) {
            Text cookie = CookieOfValue(line.substr(kSetCookieName.size()));
            cookies.Add(Arg(cookie));
            FreeMemory(cookie);
        }
        start = end + 1;
    }
    return cookies.Finish();
}
