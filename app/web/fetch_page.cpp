// FetchPage, written as program code: kernel commands, compiled-code helpers, runtime services
// and the declared WinInet DLL commands.
#include "app/web/fetch_page.h"

#include "app/web/cookie_merge.h"
#include "app/web/fetch_deadline.h"
#include "app/web/fetch_transfer.h"
#include "app/web/program_text.h"
#include "app/web/received_cookies.h"
#include "app/web/redirect_hop.h"
#include "app/web/text_between.h"
#include "app/web/url_parts.h"
#include "app/web/wininet_commands.h"
#include "values/kernel_calls.h"

#include <algorithm>
#include <iterator>

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
constexpr uint32_t kQueryStatusCode = 19;          // HTTP_QUERY_STATUS_CODE
constexpr uint32_t kQueryLocation = 33;            // HTTP_QUERY_LOCATION
constexpr uint32_t kQueryFlagNumber = 0x20000000;  // HTTP_QUERY_FLAG_NUMBER
constexpr uint32_t kOptionConnectTimeout = 2;      // INTERNET_OPTION_CONNECT_TIMEOUT
constexpr uint32_t kOptionSendTimeout = 5;         // INTERNET_OPTION_SEND_TIMEOUT
constexpr uint32_t kOptionReceiveTimeout = 6;      // INTERNET_OPTION_RECEIVE_TIMEOUT
// Windows' own WinInet defaults, in milliseconds.
constexpr uint32_t kConnectTimeoutMilliseconds = 60000;
constexpr uint32_t kSendTimeoutMilliseconds = 30000;
constexpr uint32_t kReceiveTimeoutMilliseconds = 30000;
constexpr int32_t kHeaderBufferBytes = 5000;
// Response headers beyond this fail the fetch of a caller that reads them, instead of being
// copied out.
constexpr uint32_t kMaxHeaderBytes = 1u << 20;
constexpr int32_t kLowestPort = 0;
constexpr int32_t kHighestPort = 65535;
constexpr int32_t kMethodGet = 0;
constexpr int32_t kMethodPost = 1;
constexpr int32_t kMethodHead = 2;
// The answers that send the client on to their Location.
constexpr uint32_t kRedirectStatuses[] = {301, 302, 303, 307, 308};
constexpr uint32_t kSeeOther = 303;
constexpr uint32_t kTemporaryRedirect = 307;

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

// Whether the address holds a control byte (below 0x20, or DEL) anywhere, a trail byte's place
// included. A line break there would end the request line or the Referer header early and send
// the rest of the address as header lines of its own or as a second request; the other control
// bytes would reach the request target and the Referer line unescaped, where servers and proxies
// read them differently (a TAB or VT splits the request line for some, NUL ends it for others).
bool HoldsControlByte(const char *url) {
    constexpr unsigned char kFirstPrintable = 0x20;
    constexpr unsigned char kDelete = 0x7F;
    for (const char *p = Arg(url); *p != '\0'; ++p) {
        const auto byte = static_cast<unsigned char>(*p);
        if (byte < kFirstPrintable || byte == kDelete) {
            return true;
        }
    }
    return false;
}

// The request's time-outs set explicitly to Windows' own defaults, so that the platform gives up
// as it does there: Wine, left to itself, waits as long as a silent server keeps the connection
// open. Set on the request handle, where Wine honours them (it ignores a receive time-out set on
// the session handle).
void SetTimeouts(uint32_t request) {
    const uint32_t options[][2] = {{kOptionConnectTimeout, kConnectTimeoutMilliseconds},
                                   {kOptionSendTimeout, kSendTimeoutMilliseconds},
                                   {kOptionReceiveTimeout, kReceiveTimeoutMilliseconds}};
    for (const auto &option : options) {
        uint32_t milliseconds = option[1];
        CallDll(kInternetSetOption, request, option[0], Word(&milliseconds), sizeof milliseconds);
    }
}

// The raw response headers: 5,000 spaces handed to the platform, read back as a NUL-terminated
// text. When they do not fit, the platform reports the size it needs and the query is made
// again with that much room, so no header and no cookie is lost. False, with the 5,000 spaces
// left, when the headers are larger than kMaxHeaderBytes.
bool QueryResponseHeaders(uint32_t request, Text *responseHeaders) {
    Store(responseHeaders, Kernel::BlankText(kHeaderBufferBytes));
    uint32_t length = kHeaderBufferBytes;
    const uint32_t ok = CallDll(kHttpQueryInfo, request, kQueryRawHeadersCrlf,
                                Word(*responseHeaders), Word(&length), 0);
    if (ok == 0 && length > kMaxHeaderBytes) {
        return false;
    }
    if (ok == 0 && length > static_cast<uint32_t>(kHeaderBufferBytes)) {
        Text larger = Kernel::BlankText(static_cast<int32_t>(length));
        if (CallDll(kHttpQueryInfo, request, kQueryRawHeadersCrlf, Word(larger), Word(&length),
                    0) != 0) {
            Store(responseHeaders, larger);
        } else {
            FreeMemory(larger);
        }
    }
    return true;
}

// Whether the raw header block fits kMaxHeaderBytes, asked before the body is read. Asked with no
// room, the platform reports the size it needs and copies nothing out.
bool ResponseHeadersWithinBound(uint32_t request) {
    uint32_t length = 0;
    CallDll(kHttpQueryInfo, request, kQueryRawHeadersCrlf, 0, Word(&length), 0);
    return length <= kMaxHeaderBytes;
}

bool IsSecureAddress(const char *url) {
    Text lowerUrl = Kernel::ToLowerCase(Arg(url));
    Text scheme = Kernel::LeftText(Arg(lowerUrl), 8);
    const bool secure = TextsEqual(scheme, kHttpsScheme);
    FreeMemory(scheme);
    FreeMemory(lowerUrl);
    return secure;
}

// Opens the session, the connection and the request for one address (HTTPS when it begins
// "https://"). False when one of them cannot be made; what was opened is then closed again.
bool OpenRequest(Text *url, const char *agent, const char *proxy, int32_t method, int32_t flags,
                 FetchHandles &handles) {
    const bool secure = IsSecureAddress(*url);
    if (IsEmptyText(proxy)) {
        handles.session = CallDll(kInternetOpen, Word(agent), kOpenDirect, 0, 0, 0);
    } else {
        Text proxyText =
            secure ? CopyText(proxy) : CodeConcatTexts(2, kHttpProxyPrefix, Arg(proxy));
        handles.session =
            CallDll(kInternetOpen, Word(agent), kOpenProxy, Word(proxyText), Word(kEmptyText), 0);
        FreeMemory(proxyText);
    }
    if (handles.session == 0) {
        return false;
    }

    Text server = UrlHost(url);
    const int32_t port = UrlPort(url);
    // A port the platform's 16 bits cannot hold would wrap to a server the user never named;
    // it fails like a connection that cannot be made.
    if (port >= kLowestPort && port <= kHighestPort) {
        handles.connection = CallDll(kInternetConnect, handles.session, Word(server), port, 0, 0,
                                     kServiceHttp, 0, 0);
    }
    FreeMemory(server);
    if (handles.connection == 0) {
        CallDll(kInternetCloseHandle, handles.session);
        return false;
    }

    flags = Kernel::BitOr(flags, secure ? kFlagSecure : kFlagIgnoreToHttps);
    const char *verb = kVerbs[CheckedSelectionIndex(method, kVerbCount)];
    Text path = UrlPath(url);
    handles.request = CallDll(kHttpOpenRequest, handles.connection, Word(verb), Word(path),
                              Word(kHttpVersion), 0, 0, flags, 0);
    FreeMemory(path);
    if (handles.request == 0) {
        CallDll(kInternetCloseHandle, handles.connection);
        CallDll(kInternetCloseHandle, handles.session);
        return false;
    }
    SetTimeouts(handles.request);
    return true;
}

// Where the answer to a request for url sends the client: the address its Location names when
// the status is a redirect, or null when there is none to follow (another status, no Location,
// a scheme other than HTTP(S), a control byte). A 303, and a 301 or 302 answering a POST, are
// followed with a GET, as browsers do; the other redirects keep the method.
Text RedirectTarget(uint32_t request, Text *url, int32_t &method) {
    uint32_t status = 0;
    uint32_t size = sizeof status;
    if (CallDll(kHttpQueryInfo, request, kQueryStatusCode | kQueryFlagNumber, Word(&status),
                Word(&size), 0) == 0 ||
        std::find(std::begin(kRedirectStatuses), std::end(kRedirectStatuses), status) ==
            std::end(kRedirectStatuses)) {
        return nullptr;
    }
    // Asked with no room, the platform reports the size the value needs.
    uint32_t length = 0;
    CallDll(kHttpQueryInfo, request, kQueryLocation, 0, Word(&length), 0);
    if (length == 0 || length > kMaxHeaderBytes) {
        return nullptr;
    }
    Text location = Kernel::BlankText(static_cast<int32_t>(length));
    Text next = nullptr;
    if (CallDll(kHttpQueryInfo, request, kQueryLocation, Word(location), Word(&length), 0) != 0) {
        next = RedirectAddress(url, location);
    }
    FreeMemory(location);
    if (next != nullptr && HoldsControlByte(next)) {
        Store(&next, nullptr);
    }
    if (next != nullptr && ((status == kSeeOther && method != kMethodHead) ||
                            (status < kTemporaryRedirect && method == kMethodPost))) {
        method = kMethodGet;
    }
    return next;
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

    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(FetchDeadlineMilliseconds());

    // Such an address names no page, and nothing is sent.
    if (HoldsControlByte(*url)) {
        return nullptr;
    }

    if (method < kMethodGet || method > kMethodHead) {
        method = kMethodGet;
    }
    int32_t flags = Kernel::BitOr(kFlagReload, kFlagNeedFile);
    if (cookies.givenFlag == 1) {
        flags = Kernel::BitOr(flags, kFlagNoCookies);
    }
    // The fetch follows redirects itself, so that each hop decides what of the caller's headers
    // goes along: the platform would send the Cookie and Referer lines to any host a server
    // names, and in clear after a step down from HTTPS.
    flags = Kernel::BitOr(flags, kFlagNoRedirect);

    Text agent = UserAgentFrom(headersVar);
    Text address = CopyText(*url);
    ByteSet postData = nullptr;
    Transfer transfer{};
    bool sent = false;
    for (int redirects = 0;; ++redirects) {
        FetchHandles handles{};
        if (!OpenRequest(&address, agent, *proxyVar, method, flags, handles)) {
            FreeMemory(address);
            FreeMemory(agent);
            return nullptr;
        }
        if (redirects == 0) {
            CompleteHeaders(headersVar, url, *cookiesVar);
            if (method != kMethodGet) {
                if (ByteSetCount(*postBytesVar) == 0) {
                    Store(postBytesVar,
                          Kernel::ToByteSet(Kernel::TextArgument(Arg(*TextVariable(postText)))));
                }
                postData = *postBytesVar;
            }
        }
        Text stripped = nullptr;
        const char *headersSent = *headersVar;
        if (!KeepsCallerCredentials(url, &address)) {
            stripped = HeadersWithoutCredentials(*headersVar);
            headersSent = stripped;
        }
        // Send, read and close on the transfer thread, each waited for until the deadline with
        // the windows alive.
        transfer = BeginTransfer(handles, deadline);
        sent = SendWithin(transfer, {method == kMethodGet, Arg(headersSent),
                                     Kernel::TextLength(Arg(headersSent)),
                                     method == kMethodGet ? nullptr : postData});
        FreeMemory(stripped);
        if (!sent || transfer.abandoned || noRedirect.value != 0 || redirects == kMaxRedirects) {
            break;
        }
        Text next = RedirectTarget(handles.request, &address, method);
        if (next == nullptr) {
            break;
        }
        EndTransfer(transfer);
        Store(&address, next);
    }
    FreeMemory(address);
    FreeMemory(agent);

    // A fetch that reaches a bound (the deadline, kMaxBodyBytes, kMaxHeaderBytes) or is given up
    // for a close returns no body; then the response headers are left as 5,000 spaces and no
    // cookie is received, as after a failed send. The header block and the cookies read from it
    // reach only a caller that passed the response headers, the received cookies or cookies to
    // merge; a left-out variable is the caller's own temporary, which nobody reads. The platform
    // builds the raw block in time that grows with the square of the number of header lines, and
    // builds it again for each query, so a caller that wants none of the three has nothing asked
    // about it. The header bound guards the program's memory, into which the block is copied only
    // for a caller that wants it: for that caller the bound is checked as soon as the send has
    // returned, and a fetch whose headers pass it reads no body.
    const bool headersWanted =
        responseHeaders.givenFlag == 1 || receivedCookies.givenFlag == 1 || cookies.givenFlag == 1;
    ByteSet body = nullptr;
    const uint32_t request = transfer.handles.request;
    if (sent && (!headersWanted || ResponseHeadersWithinBound(request))) {
        body = ReadBodyWithin(transfer);
    }
    Text *responseVar = TextVariable(responseHeaders);
    if (!sent || transfer.abandoned) {
        // The handles may be closing on the abandoned thread: not one more call with them.
        Store(responseVar, Kernel::BlankText(kHeaderBufferBytes));
    } else if (headersWanted && !QueryResponseHeaders(request, responseVar)) {
        Store(&body, nullptr);
    }
    EndTransfer(transfer);

    if (headersWanted) {
        Text *receivedVar = TextVariable(receivedCookies);
        Store(receivedVar, ReadReceivedCookies(TextVariable(responseHeaders)));
        if (cookies.givenFlag == 1) {
            Store(receivedVar, MergeCookies(cookiesVar, receivedVar));
        }
    }
    return body;
}
