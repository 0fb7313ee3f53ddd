// libFuzzer target: UrlHost, UrlPort and UrlPath. The first byte chooses the options of a
// further UrlHost call, the rest is the URL. Beyond memory safety and the heap balance: the
// parts agree with the URL and with each other, and a plain ASCII URL gives exactly the host,
// port and path that a reading of its scheme, authority and path gives.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "app/web/url_parts.h"
#include "fuzz/fuzz_support.h"
#include "tests/values/reference_commands.h"

namespace {

constexpr uint8_t kMainDomainBit = 0x01;
constexpr uint8_t kKeepPortBit = 0x02;
constexpr uint8_t kLevelGivenBit = 0x04;
constexpr int kLevelShift = 3; // the remaining bits hold the level, as a signed number

struct Parts {
    std::string host;
    std::string hostWithPort;
    int32_t port;
    std::string path;
};

bool HasUpperCaseLetter(std::string_view text) {
    bool found = false;
    fuzz::ForEachCharacter(
        text, [&](size_t at) { found = found || (text[at] >= 'A' && text[at] <= 'Z'); });
    return found;
}

// The offset of the last character of text that is this byte, or npos.
size_t LastCharacter(std::string_view text, char sought) {
    size_t found = std::string_view::npos;
    fuzz::ForEachCharacter(text, [&](size_t at) {
        if (text[at] == sought) {
            found = at;
        }
    });
    return found;
}

// The parts of a plain ASCII URL as its reader expects them: after "https://" at the start or
// the first "http://" (any letter case, a "/" added behind the URL; none at all: the URL is a
// host), the authority runs to the first "/", the host is the authority without its port, and
// the path is the rest.
Parts ExpectedParts(const std::string &url) {
    const std::string lower = Reference::ToLowerCase(url);
    const std::string searched = lower.ends_with('/') ? lower : lower + "/";
    size_t hostStart = 0;
    if (lower.starts_with("https://")) {
        hostStart = 8;
    } else if (const size_t http = searched.find("http://"); http != std::string::npos) {
        hostStart = http + 7;
    }
    hostStart = std::min(hostStart, url.size()); // "http://" met only with the added "/"
    const size_t slash = url.find('/', hostStart);
    const std::string authority = lower.substr(hostStart, slash - hostStart);
    Parts parts;
    parts.hostWithPort = authority;
    parts.host = authority.substr(0, authority.find(':'));
    parts.path = slash == std::string::npos ? "/" : url.substr(slash);
    return parts;
}

void CheckDefaultForm(const std::string &typed) {
    fuzz::Variable url(typed);
    Parts got;
    got.host = fuzz::Take(UrlHost(&url.value));
    got.hostWithPort = fuzz::Take(UrlHost(&url.value, {0, 0}, {1, 1}, {0, 0}));
    got.port = UrlPort(&url.value);
    got.path = fuzz::Take(UrlPath(&url.value));
    fuzz::Check(url.str() == typed, "the URL variable was changed");

    const std::string lower = Reference::ToLowerCase(typed);
    fuzz::Check(!fuzz::HasCharacter(got.host, '/') && !fuzz::HasCharacter(got.host, ':'),
                "a slash or a colon in the host");
    fuzz::Check(!HasUpperCaseLetter(got.hostWithPort), "an upper-case letter in the host");
    fuzz::Check(lower.find(got.hostWithPort) != std::string::npos,
                "the host is not text of the URL");
    fuzz::Check(got.hostWithPort.starts_with(got.host) &&
                    (got.hostWithPort.size() == got.host.size() ||
                     got.hostWithPort[got.host.size()] == ':'),
                "the host with its port does not begin with the host and a colon");
    fuzz::Check(got.path == "/" || (got.path[0] == '/' && typed.ends_with(got.path)),
                "the path is not the URL's tail from a slash");

    const size_t colon = LastCharacter(got.hostWithPort, ':');
    if (colon == std::string::npos) {
        fuzz::Check(got.port == (lower.starts_with("https") ? 443 : 80),
                    "the default port does not follow the scheme");
    } else if (const std::string digits = got.hostWithPort.substr(colon + 1);
               !digits.empty() && digits.size() <= 5 &&
               digits.find_first_not_of("0123456789") == std::string::npos) {
        fuzz::Check(got.port == std::stoi(digits), "the port is not the number written");
    }

    if (fuzz::IsPlainAscii(typed)) {
        const Parts expected = ExpectedParts(typed);
        fuzz::Check(got.host == expected.host && got.hostWithPort == expected.hostWithPort,
                    "the host of a plain URL");
        fuzz::Check(got.path == expected.path, "the path of a plain URL");
    }
}

// The other options: main domain, keep port and the level form.
void CheckOptions(const std::string &typed, uint8_t options) {
    fuzz::Variable url(typed);
    const OptionalArgument mainDomain{(options & kMainDomainBit) != 0 ? 1u : 0u, 1};
    const OptionalArgument keepPort{(options & kKeepPortBit) != 0 ? 1u : 0u, 1};
    const int32_t levelValue = static_cast<int8_t>(options) >> kLevelShift;
    const OptionalArgument level{static_cast<uint32_t>(levelValue),
                                 (options & kLevelGivenBit) != 0 ? 1u : 0u};
    const std::string host = fuzz::Take(UrlHost(&url.value, mainDomain, keepPort, level));
    fuzz::Check(url.str() == typed, "the URL variable was changed");
    fuzz::Check(!fuzz::HasCharacter(host, '/'), "a slash in the host");
    fuzz::Check(keepPort.value != 0 || !fuzz::HasCharacter(host, ':'), "a port kept unasked");
    if (level.givenFlag == 0 && mainDomain.value != 0) {
        const std::string whole = fuzz::Take(UrlHost(&url.value, {0, 0}, {1, 1}, {0, 0}));
        fuzz::Check(whole.find(host) != std::string::npos, "the main domain is not in the host");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size == 0) {
        return 0;
    }
    const fuzz::HeapBalance balance;
    const std::string typed = fuzz::TextOf(data + 1, size - 1);
    CheckDefaultForm(typed);
    CheckOptions(typed, data[0]);
    return 0;
}
