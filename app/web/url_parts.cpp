// UrlHost, UrlPort and UrlPath, written as program code over the kernel commands.
#include "app/web/url_parts.h"

#include "app/web/program_text.h"
#include "app/web/text_between.h"
#include "values/kernel_calls.h"

using namespace web;

namespace {

const char *const kHttp = ConstantText(Constant::HttpScheme);
const char *const kHttps = ConstantText(Constant::HttpsScheme);
const char *const kHttpsPrefix = ConstantText(Constant::HttpsPrefix);
const char *const kSlash = ConstantText(Constant::Slash);
const char *const kColon = ConstantText(Constant::Colon);
const char *const kDot = ConstantText(Constant::Dot);
constexpr int32_t kHttpsPort = 443;
constexpr int32_t kHttpPort = 80;

// TextBetween with start and ignore case left out, on a copy of the markers.
Text Between(Text *text, const char *left, const char *right) {
    Text leftMarker = CopyText(left);
    Text rightMarker = CopyText(right);
    Text result = TextBetween(text, &leftMarker, &rightMarker, {0, 0}, {0, 0});
    FreeMemory(leftMarker);
    FreeMemory(rightMarker);
    return result;
}

// Appends "/" unless the text already ends in one, so that the host always has an end.
void EndWithSlash(Text *t) {
    Text last = Kernel::RightText(Arg(*t), 1);
    if (!TextsEqual(last, kSlash)) {
        Store(t, CodeConcatTexts(2, Arg(*t), kSlash));
    }
    FreeMemory(last);
}

bool BeginsWithHttps(const char *t) {
    Text first8 = Kernel::LeftText(Arg(t), 8);
    const bool secure = TextsEqual(first8, kHttps);
    FreeMemory(first8);
    return secure;
}

// The host written after the scheme, up to the first "/".
void CutHostAfterScheme(Text *t) {
    EndWithSlash(t);
    if (BeginsWithHttps(*t)) {
        Store(t, Between(t, kHttps, kSlash));
        return;
    }
    if (Kernel::FindText(Arg(*t), kHttp, {}, false) == -1) {
        Store(t, CodeConcatTexts(2, kHttp, Arg(*t)));
    }
    Store(t, Between(t, kHttp, kSlash));
}

// Where the host begins in the URL (1-based), as CutHostAfterScheme finds it: behind "https://"
// at the start, else behind the first "http://" (the lower-cased URL ending in "/" is searched),
// else at the start of a URL that names no scheme.
int32_t HostStart(const char *url) {
    Text t = Kernel::ToLowerCase(url);
    EndWithSlash(&t);
    int32_t start = 1;
    if (BeginsWithHttps(t)) {
        start = Whole(1.0 + Kernel::TextLength(kHttps));
    } else if (const int32_t http = Kernel::FindText(Arg(t), kHttp, {}, false); http != -1) {
        start = Whole(static_cast<double>(http) + Kernel::TextLength(kHttp));
    }
    FreeMemory(t);
    return start;
}

// The last two labels of a host, when it has more than one.
void KeepMainDomain(Text *t) {
    TextArrayHeader *labels = Kernel::SplitText(Arg(*t), kDot, {});
    const ArrayExtent extent = CodeArrayCountOrZero(labels);
    if (extent.count > 1) {
        Text *items = TextArrayElements(labels);
        Store(t,
              CodeConcatTexts(3, Arg(items[extent.count - 2]), kDot, Arg(items[extent.count - 1])));
    }
    FreeTextArray(labels);
}

// The level form: the host without any scheme, counted back from its end by dots.
void CutHostByLevel(Text *t, int32_t level, bool mainDomain) {
    Store(t, Kernel::ReplaceSubtext(Arg(*t), kHttp, kEmptyText, {}, {}, true));
    Store(t, Kernel::ReplaceSubtext(Arg(*t), kHttps, kEmptyText, {}, {}, true));
    const int32_t slash = Kernel::FindText(Arg(*t), kSlash, {}, false);
    if (slash != -1) {
        Store(t, Kernel::LeftText(Arg(*t), Whole(static_cast<double>(slash) - 1)));
    }
    const int32_t n = Kernel::TextLength(Arg(*t));
    int32_t b = n;
    for (int32_t i = 1; i <= level; ++i) {
        b = Kernel::FindTextBackward(Arg(*t), kDot, b, false);
    }
    const int32_t c = Kernel::FindTextBackward(Arg(*t), kDot, b, false);
    if (mainDomain) {
        Store(t, Kernel::RightText(Arg(*t), Whole(static_cast<double>(n) - c)));
    } else if (c != -1) {
        const int32_t d = Kernel::FindTextBackward(Arg(*t), kDot, c, false);
        if (d != -1) {
            Store(t, Kernel::RightText(Arg(*t), Whole(static_cast<double>(n) - d)));
        }
    }
}

} // namespace

Text UrlHost(Text *url, OptionalArgument mainDomain, OptionalArgument keepPort,
             OptionalArgument level) {
    Text t = Kernel::ToLowerCase(Arg(*url));
    if (level.givenFlag == 0) {
        CutHostAfterScheme(&t);
        if (mainDomain.value != 0) {
            KeepMainDomain(&t);
        }
    } else {
        CutHostByLevel(&t, static_cast<int32_t>(level.value), mainDomain.value != 0);
    }
    if (keepPort.value != 0) {
        return t;
    }
    const int32_t colon = Kernel::FindText(Arg(t), kColon, {}, false);
    if (colon != -1) {
        Store(&t, Kernel::LeftText(Arg(t), Whole(static_cast<double>(colon) - 1)));
    }
    return t;
}

int32_t UrlPort(Text *url) {
    Text host = UrlHost(url, {0, 0}, {1, 1}, {0, 0});
    const int32_t colon = Kernel::FindTextBackward(Arg(host), kColon, {}, false);
    int32_t port;
    if (colon != -1) {
        Text digits = Kernel::RightText(
            Arg(host), Whole(static_cast<double>(Kernel::TextLength(Arg(host))) - colon));
        port = Kernel::TextToInteger(Arg(digits));
        FreeMemory(digits);
    } else {
        Text lower = Kernel::ToLowerCase(Arg(*url));
        Text first5 = Kernel::LeftText(Arg(lower), 5);
        port = TextsEqual(first5, kHttpsPrefix) ? kHttpsPort : kHttpPort;
        FreeMemory(first5);
        FreeMemory(lower);
    }
    FreeMemory(host);
    return port;
}

// The path begins at the first "/" behind the host's start, which is where the host ends.
// Searching the URL for the host's text instead would find a host that also stands earlier,
// inside the scheme ("t" or "http" in "http://t/x") or before it, or an empty host anywhere, and
// would send the scheme's "//" and all behind it as the object path.
Text UrlPath(Text *url) {
    const int32_t s = Kernel::FindText(Arg(*url), kSlash, HostStart(Arg(*url)), true);
    if (s > 0) {
        return Kernel::RightText(Arg(*url),
                                 Whole(static_cast<double>(Kernel::TextLength(Arg(*url))) - s + 1));
    }
    return CopyText(kSlash);
}
