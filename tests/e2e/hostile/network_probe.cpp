// network_probe: proves, from a Windows process under Wine, that the tests' network stops at
// loopback. Wine's wineserver creates the sockets of every Windows process, so this holds only when
// the wineserver runs in the loopback-only namespace too; host-name lookups happen in the process
// itself. Exits 0 when a connection off the machine fails as unreachable and a name lookup fails
// for want of a name server, each within 5 s; prints each finding with its time. The error codes
// are the proof: a network that reached further would answer a connection, refuse it or let it
// time out, and a name server would answer "no such host".
#include <winsock2.h>
#include <ws2tcpip.h>

#include <cstdio>

namespace {

constexpr long kWaitSeconds = 5;
constexpr DWORD kWaitMilliseconds = kWaitSeconds * 1000;

// Connects to 192.0.2.1:80 (an address reserved for documentation, never on the machine).
bool ConnectionOffTheMachineFails() {
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    u_long nonBlocking = 1;
    ioctlsocket(s, FIONBIO, &nonBlocking);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(80);
    inet_pton(AF_INET, "192.0.2.1", &address.sin_addr);
    const DWORD start = GetTickCount();
    int error = 0;
    if (connect(s, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0) {
        error = 0;
    } else if ((error = WSAGetLastError()) == WSAEWOULDBLOCK) {
        fd_set written, failed;
        FD_ZERO(&written);
        FD_ZERO(&failed);
        FD_SET(s, &written);
        FD_SET(s, &failed);
        timeval wait{kWaitSeconds, 0};
        error = WSAETIMEDOUT;
        if (select(0, nullptr, &written, &failed, &wait) > 0) {
            int length = sizeof error;
            getsockopt(s, SOL_SOCKET, SO_ERROR, reinterpret_cast<char *>(&error), &length);
        }
    }
    const DWORD elapsed = GetTickCount() - start;
    closesocket(s);
    const bool ok = error == WSAENETUNREACH || error == WSAEHOSTUNREACH;
    std::printf("%s: connecting to 192.0.2.1:80 ended with error %d after %lu ms\n",
                ok ? "ok" : "FAIL", error, static_cast<unsigned long>(elapsed));
    return ok;
}

bool NameLookupFails() {
    const DWORD start = GetTickCount();
    addrinfo *found = nullptr;
    const int result = getaddrinfo("javascript", "80", nullptr, &found);
    const DWORD elapsed = GetTickCount() - start;
    if (found != nullptr) {
        freeaddrinfo(found);
    }
    // "Try again" (no name server reached), not "no such host" (a name server answered).
    const bool ok = result == WSATRY_AGAIN && elapsed <= kWaitMilliseconds;
    std::printf("%s: looking up the host javascript ended with %d after %lu ms\n",
                ok ? "ok" : "FAIL", result, static_cast<unsigned long>(elapsed));
    return ok;
}

} // namespace

int main() {
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0) {
        std::printf("FAIL: no Windows sockets\n");
        return 1;
    }
    const bool connectionFails = ConnectionOffTheMachineFails();
    const bool lookupFails = NameLookupFails();
    WSACleanup();
    return connectionFails && lookupFails ? 0 : 1;
}
