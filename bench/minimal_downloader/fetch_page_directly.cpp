// One WinInet GET of a play page, the way a C++ program would write it without any runtime:
// the same flags as the downloader's fetch, read in pieces of a given size.
#include <windows.h>
#include <wininet.h>

#include <string>

#include "bench/minimal_downloader/track_links.h"

namespace {

constexpr char kAgent[] = "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)";
// Reload, need file, ignore redirects to HTTPS: what the downloader passes for an http address.
constexpr DWORD kRequestFlags = 0x80004010;
// The default header lines the downloader adds to a request that names none.
constexpr char kDefaultHeaders[] = "Accept: */*\r\nAccept-Language: zh-cn";

} // namespace

std::string FetchPageDirectly(const std::string &url, DWORD readBytes) {
    char host[256] = "";
    char path[2048] = "";
    URL_COMPONENTSA parts{};
    parts.dwStructSize = sizeof parts;
    parts.lpszHostName = host;
    parts.dwHostNameLength = sizeof host;
    parts.lpszUrlPath = path;
    parts.dwUrlPathLength = sizeof path;
    if (!InternetCrackUrlA(url.c_str(), 0, 0, &parts)) {
        return {};
    }
    HINTERNET session = InternetOpenA(kAgent, INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
    HINTERNET connection =
        InternetConnectA(session, host, parts.nPort, nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0);
    HINTERNET request =
        HttpOpenRequestA(connection, "GET", path, "HTTP/1.1", nullptr, nullptr, kRequestFlags, 0);
    // One growing buffer: each read lands at its end, the string doubles when full.
    std::string body;
    if (request != nullptr &&
        HttpSendRequestA(request, kDefaultHeaders, sizeof kDefaultHeaders - 1, nullptr, 0)) {
        DWORD read = 0;
        do {
            const size_t size = body.size();
            if (body.capacity() < size + readBytes) {
                body.reserve(2 * (size + readBytes));
            }
            body.resize(size + readBytes);
            read = 0;
            if (!InternetReadFile(request, body.data() + size, readBytes, &read)) {
                read = 0;
            }
            body.resize(size + read);
        } while (read != 0);
    }
    InternetCloseHandle(request);
    InternetCloseHandle(connection);
    InternetCloseHandle(session);
    // The page is text up to its first zero byte, as the downloader reads it.
    const size_t zero = body.find('\0');
    if (zero != std::string::npos) {
        body.resize(zero);
    }
    return body;
}
