// FetchPage, written as program code: kernel commands, compiled-code helpers, runtime services
// and the declared WinInet DLL commands.
#include "app/web/fetch_page.h"

#include <cstring>

#include "app/web/cookie_merge.h"
#include "app/web/program_text.h"
#include "app/web/received_cookies.h"
#include "app/web/text_between.h"
#include "app/web/url_parts.h"
#include "app/web/wininet_commands.h"
#include "values/kernel_calls.h"

using namespace web;

namespace {

const char *const kVerbs[] = {ConstantText(Constant::VerbGet), ConstantText(Constant::VerbPost),
                              ConstantText(Constant::VerbHead)};
constexpr int32_t kVerbCount = 3;
const char *const kHttpsScheme = ConstantText(Constant::HttpsScheme);
const char *const kDefaultUserAgent = ConstantText(Constant::DefaultUserAgent);
const char *const kUserAgentName = ConstantText(Constant::UserAgentName);
const char *const kHttpProxyPrefix = ConstantText(Constant::HttpProxyPrefix);
const char *const kHttpVersion = ConstantText(Constant::HttpVersion);
const char *const kAcceptWhole = ConstantText(Constant::AcceptWhole);
const char *const kAcceptName = ConstantText(Constant::AcceptName);
const char *const kAcceptLine = ConstantText(Constant::AcceptLine);
const char *const kRefererName = ConstantText(Constant::RefererName);
const char *const kRefererLine = ConstantText(Constant::RefererLine);
const char *const kLanguageName = ConstantText(Constant::LanguageName);
const char *const kLanguageLine = ConstantText(Constant::LanguageLine);
const char *const kContentTypeName = ConstantText(Constant::ContentTypeName);
const char *const kContentTypeLine = ConstantText(Constant::ContentTypeLine);
const char *const kCookieName = ConstantText(Constant::CookieName);
const char *const kCookieLine = ConstantText(Constant::CookieLine);
const char *const kLineBreak = ConstantText(Constant::LineBreak);
const char *const kCarriageReturn = ConstantText(Constant::CarriageReturn);
const char *const kLineFeed = ConstantText(Constant::LineFeed);

constexpr uint32_t kOpenDirect = 1;                // INTERNET_OPEN_TYPE_DIRECT
constexpr uint32_t kOpenProxy = 3;                 // INTERNET_OPEN_TYPE_PROXY
constexpr uint32_t kServiceHttp = 3;               // INTERNET_SERVICE_HTTP
constexpr int32_t kFlagReload = 0x80000000;        // INTERNET_FLAG_RELOAD
constexpr int32_t kFlagNeedFile = 0x00000010;      // INTERNET_FLAG_NEED_FILE
constexpr int32_t kFlagNoCookies = 0x00080000;     // INTERNET_FLAG_NO_COOKIES
constexpr int32_t kFlagNoRedirect = 0x00200000;    // INTERNET_FLAG_NO_AUTO_REDIRECT
constexpr int32_t kFlagSecure = 0x00800000;        // INTERNET_FLAG_SECURE
constexpr int32_t kFlagIgnoreToHttps = 0x00004000; // INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTPS
constexpr uint32_t kQueryRawHeadersCrlf = 22;      // HTTP_QUERY_RAW_HEADERS_CRLF
constexpr int32_t kReadChunkBytes = 1024;
constexpr int32_t kHeaderBufferBytes = 5000;
constexpr int32_t kLowestPort = 0;
constexpr int32_t kHighestPort = 65535;
constexpr uint32_t kFirstBodyCapacity = 64 * 1024;

// Appends text to a variable.
void Append(Text *variable, const char *text) {
    Store(variable, CodeConcatTexts(2, Arg(*variable), Arg(text)));
}

bool Contains(const char *text, const char *sought) {
    return Kernel::FindText(Arg(text), sought, {}, false) != -1;
}

Text UserAgentFrom(Text *headers) {
    if (Kernel::FindText(Arg(*headers), kUserAgentName, {}, true) == -1) {
        return CopyText(kDefaultUserAgent);
    }
    Text searched = CodeConcatTexts(2, Arg(*headers), kLineBreak);
    Text left = CopyText(kUserAgentName);
    Text right = CopyText(kLineBreak);
    Text between = TextBetween(&searched, &left, &right, {0, 0}, {0, 0});
    Text agent = Kernel::TrimSpaces(Arg(between));
    FreeMemory(between);
    FreeMemory(right);
    FreeMemory(left);
    FreeMemory(searched);
    if (IsEmptyText(agent)) {
        Store(&agent, TextAfterColon(headers));
    }
    return agent;
}

void CompleteHeaders(Text *headers, Text *url, const char *cookies) {
    if (IsEmptyText(*headers)) {
        Store(headers, CopyText(kAcceptWhole));
    } else if (!Contains(*headers, kAcceptName)) {
        Append(headers, kAcceptLine);
    }
    if (!Contains(*headers, kRefererName)) {
        Store(headers, CodeConcatTexts(3, Arg(*headers), kRefererLine, Arg(*url)));
    }
    if (!Contains(*headers, kLanguageName)) {
        Append(headers, kLanguageLine);
    }
    if (!Contains(*headers, kContentTypeName)) {
        Append(headers, kContentTypeLine);
    }
    if (!IsEmptyText(cookies)) {
        const char *lead = Contains(cookies, kCookieName) ? kLineBreak : kCookieLine;
        Store(headers, CodeConcatTexts(3, Arg(*headers), lead, Arg(cookies)));
    }
}

// Reads the whole body. The block grows geometrically so that reading stays linear in the
// body size; the bytes are the same as chunk-by-chunk concatenation would give.
ByteSet ReadBody(uint32_t request) {
    ByteSet body = nullptr;
    uint32_t capacity = 0;
    uint32_t size = 0;
    ByteSet chunk = nullptr;
    uint32_t bytesRead = 0;
    do {
        Store(&chunk, Kernel::BlankByteSet(kReadChunkBytes));
        CallDll(kInternetReadFile, request, Word(ByteSetBytes(chunk)), kReadChunkBytes,
                Word(&bytesRead));
        if (bytesRead > static_cast<uint32_t>(kReadChunkBytes)) {
            bytesRead = 0;
        }
        if (bytesRead == 0) {
            break;
        }
        if (size + bytesRead > capacity) {
            capacity = capacity == 0 ? kFirstBodyCapacity : capacity * 2;
            body = static_cast<ByteSet>(ReallocateMemory(body, sizeof(ByteSetHeader) + capacity));
        }
        std::memcpy(reinterpret_cast<uint8_t *>(body + 1) + size, ByteSetBytes(chunk), bytesRead);
        size += bytesRead;
    } while (true);
    FreeMemory(chunk);
    if (size == 0) {
        FreeMemory(body);
        return nullptr;
    }
    body = static_cast<ByteSet>(ReallocateMemory(body, sizeof(ByteSetHeader) + size));
    body->dimensionCount = 1;
    body->byteCount = size;
    return body;
}

// The raw response headers: 5,000 spaces handed to the platform, read back as a NUL-terminated
// text. When they do not fit, the platform reports the size it needs and the query is made
// again with that much room, so no header and no cookie is lost.
void QueryResponseHeaders(uint32_t request, Text *responseHeaders) {
    Store(responseHeaders, Kernel::BlankText(kHeaderBufferBytes));
    uint32_t length = kHeaderBufferBytes;
    const uint32_t ok = CallDll(kHttpQueryInfo, request, kQueryRawHeadersCrlf,
                                Word(*responseHeaders), Word(&length), 0);
    if (ok == 0 && length > static_cast<uint32_t>(kHeaderBufferBytes) &&
        length < static_cast<uint32_t>(INT32_MAX)) {
        Text larger = Kernel::BlankText(static_cast<int32_t>(length));
        if (CallDll(kHttpQueryInfo, request, kQueryRawHeadersCrlf, Word(larger), Word(&length),
                    0) != 0) {
            Store(responseHeaders, larger);
        } else {
            FreeMemory(larger);
        }
    }
}

Text *TextVariable(OptionalArgument argument) {
    return reinterpret_cast<Text *>(static_cast<uintptr_t>(argument.value));
}

} // namespace

ByteSet FetchPage(Text *url, int32_t method, OptionalArgument postText, OptionalArgument cookies,
                  OptionalArgument receivedCookies, OptionalArgument headers,
                  OptionalArgument responseHeaders, OptionalArgument noRedirect,
                  OptionalArgument postBytes, OptionalArgument proxy) {
    Text *headersVar = TextVariable(headers);
    Text *cookiesVar = TextVariable(cookies);
    Text *proxyVar = TextVariable(proxy);
    auto *postBytesVar = reinterpret_cast<ByteSet *>(static_cast<uintptr_t>(postBytes.value));

    // A line break in the address would end the request line or the Referer header early and
    // send the rest of the address as header lines of its own or as a second request: such an
    // address names no page, and nothing is sent.
    if (Contains(*url, kCarriageReturn) || Contains(*url, kLineFeed)) {
        return nullptr;
    }

    if (method < 0 || method > 2) {
        method = 0;
    }
    const char *verb = kVerbs[CheckedSelectionIndex(method, kVerbCount)];

    Text lowerUrl = Kernel::ToLowerCase(Arg(*url));
    Text scheme = Kernel::LeftText(Arg(lowerUrl), 8);
    const bool secure = TextsEqual(scheme, kHttpsScheme);
    FreeMemory(scheme);
    FreeMemory(lowerUrl);

    Text agent = UserAgentFrom(headersVar);
    uint32_t session;
    if (IsEmptyText(*proxyVar)) {
        session = CallDll(kInternetOpen, Word(agent), kOpenDirect, 0, 0, 0);
    } else {
        Text proxyText =
            secure ? CopyText(*proxyVar) : CodeConcatTexts(2, kHttpProxyPrefix, Arg(*proxyVar));
        session =
            CallDll(kInternetOpen, Word(agent), kOpenProxy, Word(proxyText), Word(kEmptyText), 0);
        FreeMemory(proxyText);
    }
    FreeMemory(agent);
    if (session == 0) {
        return nullptr;
    }

    Text server = UrlHost(url);
    const int32_t port = UrlPort(url);
    // A port the platform's 16 bits cannot hold would wrap to a server the user never named;
    // it fails like a connection that cannot be made.
    uint32_t connection = 0;
    if (port >= kLowestPort && port <= kHighestPort) {
        connection =
            CallDll(kInternetConnect, session, Word(server), port, 0, 0, kServiceHttp, 0, 0);
    }
    FreeMemory(server);
    if (connection == 0) {
        CallDll(kInternetCloseHandle, session);
        return nullptr;
    }

    int32_t flags = Kernel::BitOr(kFlagReload, kFlagNeedFile);
    if (cookies.givenFlag == 1) {
        flags = Kernel::BitOr(flags, kFlagNoCookies);
    }
    if (noRedirect.value != 0) {
        flags = Kernel::BitOr(flags, kFlagNoRedirect);
    }
    flags = Kernel::BitOr(flags, secure ? kFlagSecure : kFlagIgnoreToHttps);

    Text path = UrlPath(url);
    const uint32_t request = CallDll(kHttpOpenRequest, connection, Word(verb), Word(path),
                                     Word(kHttpVersion), 0, 0, flags, 0);
    FreeMemory(path);
    if (request == 0) {
        CallDll(kInternetCloseHandle, connection);
        CallDll(kInternetCloseHandle, session);
        return nullptr;
    }

    CompleteHeaders(headersVar, url, *cookiesVar);
    const int32_t headersLength = Kernel::TextLength(Arg(*headersVar));
    if (method == 0) {
        CallDll(kHttpSendRequestText, request, Word(Arg(*headersVar)), headersLength,
                Word(kEmptyText), 0);
    } else {
        if (ByteSetCount(*postBytesVar) == 0) {
            Store(postBytesVar,
                  Kernel::ToByteSet(Kernel::TextArgument(Arg(*TextVariable(postText)))));
        }
        const int32_t postLength = Kernel::ByteSetLength(*postBytesVar);
        const uint32_t data = postLength > 0 ? Word(ByteSetBytes(*postBytesVar)) : 0;
        CallDll(kHttpSendRequestBytes, request, Word(Arg(*headersVar)), headersLength, data,
                postLength);
    }

    ByteSet body = ReadBody(request);
    QueryResponseHeaders(request, TextVariable(responseHeaders));
    CallDll(kInternetCloseHandle, request);
    CallDll(kInternetCloseHandle, connection);
    CallDll(kInternetCloseHandle, session);

    Text *receivedVar = TextVariable(receivedCookies);
    Store(receivedVar, ReadReceivedCookies(TextVariable(responseHeaders)));
    if (cookies.givenFlag == 1) {
        Store(receivedVar, MergeCookies(cookiesVar, receivedVar));
    }
    return body;
}
