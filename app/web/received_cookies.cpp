// ReadReceivedCookies, written as program code over the kernel commands.
#include "app/web/received_cookies.h"

#include <string_view>

#include "app/web/program_text.h"
#include "values/kernel_calls.h"

using namespace web;

namespace {

constexpr char kSetCookie[] = "Set-Cookie";
constexpr std::string_view kSetCookieName = "Set-Cookie:";
constexpr char kLineEnds[] = "\r\n";
constexpr char kSemicolon[] = ";";
constexpr char kCookieSeparator[] = "; ";

// The first name=value pair of a Set-Cookie value: the bytes up to its first ";", trimmed.
Text CookieOfValue(const char *block, size_t offset, size_t length) {
    Text value =
        Kernel::MiddleText(block, static_cast<int32_t>(offset + 1), static_cast<int32_t>(length));
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
    const char *block = Arg(*responseHeaders);
    const std::string_view headers(block);
    Text cookies = nullptr;
    for (size_t start = 0; start < headers.size();) {
        size_t end = headers.find_first_of(kLineEnds, start);
        if (end == std::string_view::npos) {
            end = headers.size();
        }
        if (headers.substr(start, end - start).starts_with(kSetCookieName)) {
            const size_t value = start + kSetCookieName.size();
            Text cookie = CookieOfValue(block, value, end - value);
            Store(&cookies, CodeConcatTexts(3, Arg(cookies), Arg(cookie), kCookieSeparator));
            FreeMemory(cookie);
        }
        start = end + 1;
    }
    const double kept = static_cast<double>(Kernel::TextLength(Arg(cookies))) - 2;
    Store(&cookies, Kernel::LeftText(Arg(cookies), Whole(kept)));
    return cookies;
}
