// RedirectAddress, KeepsCallerCredentials and HeadersWithoutCredentials, written as program code
// over the URL routines and the kernel commands.
#include "app/web/redirect_hop.h"

#include <string_view>

#include "app/web/joined_text.h"
#include "app/web/program_text.h"
#include "app/web/url_parts.h"
#include "values/kernel_calls.h"

namespace web {

namespace {

const char *const kHttp = ConstantText(Constant::HttpScheme);
const char *const kHttps = ConstantText(Constant::HttpsScheme);
const char *const kLineBreak = ConstantText(Constant::LineBreak);
const char *const kDoubleSlash = ConstantText(Constant::DoubleSlash);
const char *const kSchemeOrPathEnd = ConstantText(Constant::SchemeOrPathEnd);
const char *const kPathEnd = ConstantText(Constant::PathEnd);

// Header lines that belong to the host the caller addressed, each name with its colon (compared
// without regard to letter case, as HTTP does).
const char *const kCredentialHeaders[] = {ConstantText(Constant::CookieName),
                                          ConstantText(Constant::RefererName),
                                          ConstantText(Constant::AuthorizationName)};

char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool StartsWithFolded(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) {
        return false;
    }
    for (size_t i = 0; i < prefix.size(); ++i) {
        if (AsciiLower(text[i]) != AsciiLower(prefix[i])) {
            return false;
        }
    }
    return true;
}

bool IsSecure(const char *url) {
    return StartsWithFolded(Arg(url), kHttps);
}

// A new text of these bytes behind a prefix (both may be empty).
Text Joined(std::string_view prefix, std::string_view rest) {
    const auto length = static_cast<uint32_t>(prefix.size() + rest.size());
    Text text = static_cast<Text>(AllocateMemory(length + 1));
    prefix.copy(text, prefix.size());
    rest.copy(text + prefix.size(), rest.size());
    text[length] = '\0';
    return text;
}

// Whether the value begins with a scheme name and its colon ("ftp:", "javascript:"), as
// opposed to a path that merely holds a colon further on.
bool BeginsWithScheme(std::string_view value) {
    const size_t colon = value.find_first_of(kSchemeOrPathEnd);
    if (colon == std::string_view::npos || colon == 0 || value[colon] != ':') {
        return false;
    }
    for (size_t i = 0; i < colon; ++i) {
        const char c = AsciiLower(value[i]);
        const bool letter = c >= 'a' && c <= 'z';
        if (!letter && (i == 0 || !((c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.'))) {
            return false;
        }
    }
    return true;
}

bool IsCredentialLine(std::string_view line) {
    const size_t colon = line.find(':');
    if (colon == std::string_view::npos) {
        return false;
    }
    // Blanks around the name too, in case the platform trims them before it reads the name.
    std::string_view name = line.substr(0, colon);
    while (!name.empty() && (name.back() == ' ' || name.back() == '\t')) {
        name.remove_suffix(1);
    }
    while (!name.empty() && (name.front() == ' ' || name.front() == '\t')) {
        name.remove_prefix(1);
    }
    for (std::string_view credential : kCredentialHeaders) {
        credential.remove_suffix(1); // the colon
        if (name.size() == credential.size() && StartsWithFolded(name, credential)) {
            return true;
        }
    }
    return false;
}

} // namespace

Text RedirectAddress(Text *base, const char *location) {
    Text trimmed = Kernel::TrimSpaces(Arg(location));
    const std::string_view value(Arg(trimmed));
    Text address = nullptr;
    if (StartsWithFolded(value, kHttp) || StartsWithFolded(value, kHttps)) {
        address = CopyText(trimmed);
    } else if (value.starts_with(kDoubleSlash)) {
        const std::string_view scheme(IsSecure(*base) ? kHttps : kHttp);
        address = Joined(scheme.substr(0, scheme.find(':') + 1), value);
    } else if (!value.empty() && !BeginsWithScheme(value)) {
        Text host = UrlHost(base, {0, 0}, {1, 1}, {0, 0});
        Text origin = CodeConcatTexts(2, IsSecure(*base) ? kHttps : kHttp, Arg(host));
        Text path = UrlPath(base);
        const std::string_view basePath(Arg(path));
        std::string_view kept; // the part of the base's path the value is relative to
        if (value.front() == '#') {
            kept = basePath.substr(0, basePath.find('#'));
        } else if (value.front() == '?') {
            kept = basePath.substr(0, basePath.find_first_of(kPathEnd));
        } else if (value.front() != '/') {
            kept = basePath.substr(0, basePath.find_first_of(kPathEnd));
            kept = kept.substr(0, kept.rfind('/') + 1);
        }
        Text directory = Joined(Arg(origin), kept);
        address = Joined(Arg(directory), value);
        FreeMemory(directory);
        FreeMemory(path);
        FreeMemory(origin);
        FreeMemory(host);
    }
    FreeMemory(trimmed);
    return address;
}

bool KeepsCallerCredentials(Text *from, Text *to) {
    Text fromHost = UrlHost(from);
    Text toHost = UrlHost(to);
    const bool sameHost = TextsEqual(fromHost, toHost);
    FreeMemory(toHost);
    FreeMemory(fromHost);
    return sameHost && (IsSecure(*to) || !IsSecure(*from));
}

// Lines end at every CR or LF byte, as on the wire; the kept ones are joined by "\r\n" again.
Text HeadersWithoutCredentials(const char *headers) {
    const std::string_view block(Arg(headers));
    JoinedText kept(kLineBreak);
    for (size_t start = 0; start < block.size();) {
        size_t end = block.find_first_of(kLineBreak, start);
        if (end == std::string_view::npos) {
            end = block.size();
        }
        const std::string_view line = block.substr(start, end - start);
        if (!line.empty() && !IsCredentialLine(line)) {
            kept.Add(line);
        }
        start = end + 1;
    }
    return kept.Finish();
}

} // namespace web
