// hostile-server: a raw TCP server on 127.0.0.1 that answers each request with one kind of broken
// or unfriendly HTTP response, chosen by the request's path (/case/NAME), so that the end-to-end
// tests can drive the real program against it.
//   hostile-server DIR LIFETIME_SECONDS HOLD_SECONDS
// Writes DIR/ports ("port=N" for the cases, "blackhole_port=M" for a port whose connections are
// never accepted) and appends every request head to DIR/requests.log, one line each. Every loop is
// bounded: the process ends after LIFETIME_SECONDS, a case that stalls, drips or floods (silent,
// drip, slow-drip, endless-headers, header-flood, endless-body, endless-chunked, fast-then-drip)
// does so for at most HOLD_SECONDS, and the blackhole port closes after HOLD_SECONDS, so that a
// client's next connection attempt is refused.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <mutex>
#include <string>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

constexpr size_t kRequestLimitBytes = 64 * 1024;
constexpr int kRequestWaitMilliseconds = 5000;
constexpr int kAcceptPollMilliseconds = 100;
constexpr int kSendLimitSeconds = 5;
constexpr size_t kHugeHeaderBytes = 100 * 1024;
constexpr size_t kJunkBodyBytes = 4096;
constexpr auto kHeaderLinePause = std::chrono::milliseconds(10);
constexpr auto kDripPause = std::chrono::seconds(1);
// Just within the receive time-out of 30 s, which each byte restarts.
constexpr auto kSlowDripPause = std::chrono::seconds(25);
constexpr size_t kBigBodyBytes = size_t{200} << 20;
constexpr size_t kFloodPieceBytes = 256 * 1024;
// fast-then-drip: this much of a body announced as kFastThenDripBodyBytes comes at once.
constexpr size_t kFastBytes = size_t{48} << 20;
constexpr size_t kFastThenDripBodyBytes = size_t{64} << 20;
// Wine keeps at most some 1,400 bytes of a header line, so headers beyond 1 MiB take many lines.
constexpr size_t kOverLimitHeaderLines = 800;
constexpr size_t kOverLimitLineBytes = 1400;
constexpr size_t kRegexHostileBytes = size_t{1} << 20;

// The page every case that sends a body carries: one track list the program's pattern finds.
constexpr char kPage[] =
    "<!DOCTYPE html>\n<html><head><title>Play</title></head>\n<body>\n<script>\n"
    "var s_str=\"http://mix.zorvin.cn/mix\";\n"
    "var list=[{title:\"Hostile Song\",artist:\"-\",m4a: s_str+\"/2024/03/hostile.m4a\"}];\n"
    "</script>\n</body></html>\n";

struct Settings {
    std::string dir;
    Clock::time_point end;
    std::chrono::seconds hold;
};

std::mutex logMutex;

void Log(const Settings &settings, const std::string &line) {
    std::lock_guard<std::mutex> lock(logMutex);
    std::ofstream(settings.dir + "/requests.log", std::ios::app) << line << '\n';
}

// Sends all bytes; false when the peer has gone or stopped reading.
bool SendAll(int socket, const std::string &bytes) {
    size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = send(socket, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n <= 0) {
            return false;
        }
        sent += static_cast<size_t>(n);
    }
    return true;
}

// The request head up to the blank line, bounded in size and time; empty when none came.
std::string ReadRequestHead(int socket) {
    std::string head;
    const auto deadline = Clock::now() + std::chrono::milliseconds(kRequestWaitMilliseconds);
    std::array<char, 4096> buffer{};
    while (head.find("\r\n\r\n") == std::string::npos && head.size() < kRequestLimitBytes) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        pollfd wanted{socket, POLLIN, 0};
        if (left <= 0 || poll(&wanted, 1, static_cast<int>(left)) <= 0) {
            break;
        }
        const ssize_t n = recv(socket, buffer.data(), buffer.size(), 0);
        if (n <= 0) {
            break;
        }
        head.append(buffer.data(), static_cast<size_t>(n));
    }
    return head;
}

// The request head on one line of the log: each line break shown as " | ", other control
// bytes as "?".
std::string OneLine(const std::string &head) {
    std::string line;
    for (size_t i = 0; i < head.size(); ++i) {
        if (head.compare(i, 2, "\r\n") == 0) {
            line += " | ";
            ++i;
        } else {
            line += static_cast<unsigned char>(head[i]) < 0x20 ? '?' : head[i];
        }
    }
    return line;
}

std::string PageLength() {
    return std::to_string(sizeof kPage - 1);
}

std::string Page() {
    return std::string(kPage, sizeof kPage - 1);
}

// Waits until the hold has passed or the peer has closed its side.
void HoldUntilPeerGoes(int socket, const Settings &settings) {
    const auto until = std::min(Clock::now() + settings.hold, settings.end);
    std::array<char, 1024> buffer{};
    while (Clock::now() < until) {
        pollfd wanted{socket, POLLIN, 0};
        if (poll(&wanted, 1, kAcceptPollMilliseconds) > 0 &&
            recv(socket, buffer.data(), buffer.size(), 0) <= 0) {
            return;
        }
    }
}

// CRC-32 (IEEE 802.3, reflected) as the gzip trailer needs it.
uint32_t Crc32(const std::string &bytes) {
    uint32_t crc = 0xFFFFFFFFu;
    for (unsigned char byte : bytes) {
        crc ^= byte;
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
        }
    }
    return ~crc;
}

void AppendLittleEndian(std::string &out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
    }
}

// The page as a gzip member holding one stored (uncompressed) deflate block.
std::string GzipOfPage() {
    const std::string page = Page();
    std::string out("\x1F\x8B\x08\x00\x00\x00\x00\x00\x00\x03", 10);
    out += '\x01'; // final block, stored
    AppendLittleEndian(out, static_cast<uint32_t>(page.size()), 2);
    AppendLittleEndian(out, static_cast<uint32_t>(~page.size() & 0xFFFF), 2);
    out += page;
    AppendLittleEndian(out, Crc32(page), 4);
    AppendLittleEndian(out, static_cast<uint32_t>(page.size()), 4);
    return out;
}

// Zero bytes and every other byte value, repeated: no text the program could show.
std::string JunkBody() {
    std::string junk(kJunkBodyBytes, '\0');
    for (size_t i = 0; i < junk.size(); ++i) {
        junk[i] = static_cast<char>(i % 3 == 0 ? 0 : (i * 151 + 7) & 0xFF);
    }
    return junk;
}

// One header line every few milliseconds until the hold is over. Wine's WinInet takes time that
// grows faster than the number of header lines (some 2,000 lines cost 2 s beyond the hold,
// 5,000 lines 13 s), so the pace keeps the test short; a flood would only measure that.
void SendEndlessHeaders(int socket, const Settings &settings) {
    if (!SendAll(socket, "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\n")) {
        return;
    }
    const auto until = std::min(Clock::now() + settings.hold, settings.end);
    for (long line = 0; Clock::now() < until; ++line) {
        if (!SendAll(socket,
                     "X-Filler-" + std::to_string(line) + ": " + std::string(64, 'f') + "\r\n")) {
            return;
        }
        std::this_thread::sleep_for(kHeaderLinePause);
    }
}

// The whole response, one byte a second, until the hold is over.
void SendDrip(int socket, const Settings &settings) {
    const std::string response =
        "HTTP/1.1 200 OK\r\nContent-Length: " + PageLength() + "\r\n\r\n" + Page();
    const auto until = std::min(Clock::now() + settings.hold, settings.end);
    for (size_t i = 0; i < response.size() && Clock::now() < until; ++i) {
        if (!SendAll(socket, response.substr(i, 1))) {
            return;
        }
        std::this_thread::sleep_for(kDripPause);
    }
}

// The headers at once, then the page one byte every kSlowDripPause until the hold is over.
void SendSlowDrip(int socket, const Settings &settings) {
    const std::string page = Page();
    if (!SendAll(socket, "HTTP/1.1 200 OK\r\nContent-Length: " + PageLength() + "\r\n\r\n")) {
        return;
    }
    const auto until = std::min(Clock::now() + settings.hold, settings.end);
    for (size_t i = 0; i < page.size() && Clock::now() < until; ++i) {
        if (!SendAll(socket, page.substr(i, 1))) {
            return;
        }
        std::this_thread::sleep_for(kSlowDripPause);
    }
}

// The page, then filler bytes as fast as the peer takes them: announced as kBigBodyBytes in all,
// or, with no length announced, until the hold is over.
void SendFlood(int socket, const Settings &settings, bool endless) {
    const std::string page = Page();
    const std::string head =
        endless
            ? "HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n"
            : "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(kBigBodyBytes) + "\r\n\r\n";
    if (!SendAll(socket, head + page)) {
        return;
    }
    const std::string piece(kFloodPieceBytes, ' ');
    const auto until = std::min(Clock::now() + settings.hold, settings.end);
    for (size_t sent = page.size(); Clock::now() < until && (endless || sent < kBigBodyBytes);
         sent += piece.size()) {
        const size_t size = endless ? piece.size() : std::min(piece.size(), kBigBodyBytes - sent);
        if (!SendAll(socket, piece.substr(0, size))) {
            return;
        }
    }
}

// A chunked body that never ends: the page, then chunks of filler as fast as the peer takes
// them, and no last chunk, until the hold is over. The connection stays open for reuse, so a
// client closing its request handle early would have to read the rest.
void SendEndlessChunked(int socket, const Settings &settings) {
    const std::string page = Page();
    char size[16];
    std::snprintf(size, sizeof size, "%zx\r\n", page.size());
    if (!SendAll(socket, "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n" +
                             std::string(size) + page + "\r\n")) {
        return;
    }
    std::snprintf(size, sizeof size, "%zx\r\n", kFloodPieceBytes);
    const std::string chunk = std::string(size) + std::string(kFloodPieceBytes, ' ') + "\r\n";
    const auto until = std::min(Clock::now() + settings.hold, settings.end);
    while (Clock::now() < until && SendAll(socket, chunk)) {
    }
}

// kFastBytes of a larger announced body at once, then one byte a second until the hold is over.
void SendFastThenDrip(int socket, const Settings &settings) {
    const std::string page = Page();
    if (!SendAll(socket,
                 "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(kFastThenDripBodyBytes) +
                     "\r\n\r\n" + page + std::string(kFastBytes - page.size(), ' '))) {
        return;
    }
    const auto until = std::min(Clock::now() + settings.hold, settings.end);
    while (Clock::now() < until && SendAll(socket, " ")) {
        std::this_thread::sleep_for(kDripPause);
    }
}

// Header lines as fast as the peer takes them, never a blank line, until the hold is over.
void SendHeaderFlood(int socket, const Settings &settings) {
    if (!SendAll(socket, "HTTP/1.1 200 OK\r\n")) {
        return;
    }
    std::string lines;
    for (int line = 0; lines.size() < kFloodPieceBytes; ++line) {
        lines += "X-Flood-" + std::to_string(line) + ": " + std::string(64, 'f') + "\r\n";
    }
    const auto until = std::min(Clock::now() + settings.hold, settings.end);
    while (Clock::now() < until && SendAll(socket, lines)) {
    }
}

// A page the track pattern's two lazy groups make a backtracking matcher spend hours on: copies
// of the list's opening, then copies of the text between title and address, and no closing.
std::string RegexHostilePage() {
    const std::string opening = "var list=[{title:\"";
    const std::string middle = "\",artist:\"-\",m4a: s_str+\"";
    const size_t copies = kRegexHostileBytes / (opening.size() + middle.size());
    std::string page;
    page.reserve(kRegexHostileBytes);
    for (size_t i = 0; i < copies; ++i) {
        page += opening;
    }
    for (size_t i = 0; i < copies; ++i) {
        page += middle;
    }
    return page;
}

// Half the announced body, then a reset instead of an orderly close.
void SendResetMidBody(int socket) {
    const std::string page = Page();
    SendAll(socket, "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(2 * page.size()) +
                        "\r\n\r\n" + page);
    linger abort{1, 0};
    setsockopt(socket, SOL_SOCKET, SO_LINGER, &abort, sizeof abort);
}

void Answer(int socket, const std::string &name, const Settings &settings) {
    const std::string page = Page();
    static const std::map<std::string, std::string> fixed = {
        {"bad-status",
         "HTTP/1.1 two-hundred OKAY\r\nContent-Length: " + PageLength() + "\r\n\r\n" + page},
        {"no-headers", page},
        {"huge-header", "HTTP/1.1 200 OK\r\nX-Huge: " + std::string(kHugeHeaderBytes, 'h') +
                            "\r\nContent-Length: " + PageLength() + "\r\n\r\n" + page},
        {"lf-only-headers", "HTTP/1.1 200 OK\nContent-Type: text/html\nContent-Length: " +
                                PageLength() + "\n\n" + page},
        {"unterminated-header", "HTTP/1.1 200 OK\r\nContent-Type: text/html"},
        {"junk-body", "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(kJunkBodyBytes) +
                          "\r\n\r\n" + JunkBody()},
        {"broken-chunked", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n10\r\n" +
                               page.substr(0, 16) + "\r\nzz-not-a-size\r\n" + page},
        {"unasked-gzip", "HTTP/1.1 200 OK\r\nContent-Encoding: gzip\r\nContent-Length: " +
                             std::to_string(GzipOfPage().size()) + "\r\n\r\n" + GzipOfPage()},
    };
    if (const auto found = fixed.find(name); found != fixed.end()) {
        SendAll(socket, found->second);
    } else if (name == "header-over-limit") {
        std::string head = "HTTP/1.1 200 OK\r\n";
        for (size_t line = 0; line < kOverLimitHeaderLines; ++line) {
            const std::string field = "X-Over-" + std::to_string(line) + ": ";
            head += field + std::string(kOverLimitLineBytes - field.size(), 'o') + "\r\n";
        }
        // Closed, as the server closes every connection: the platform keeps no socket of it.
        SendAll(socket,
                head + "Connection: close\r\nContent-Length: " + PageLength() + "\r\n\r\n" + page);
    } else if (name == "regex-hostile" || name == "regex-benign") {
        // The benign page: as large, but only blanks, so that its click times the fetch alone.
        const std::string hostile = name == "regex-hostile"
                                        ? RegexHostilePage()
                                        : std::string(RegexHostilePage().size(), ' ');
        SendAll(socket, "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(hostile.size()) +
                            "\r\n\r\n" + hostile);
    } else if (name == "endless-body" || name == "body-200m") {
        SendFlood(socket, settings, name == "endless-body");
    } else if (name == "endless-chunked") {
        SendEndlessChunked(socket, settings);
    } else if (name == "fast-then-drip") {
        SendFastThenDrip(socket, settings);
    } else if (name == "header-flood") {
        SendHeaderFlood(socket, settings);
    } else if (name == "endless-headers") {
        SendEndlessHeaders(socket, settings);
    } else if (name == "drip") {
        SendDrip(socket, settings);
    } else if (name == "slow-drip") {
        SendSlowDrip(socket, settings);
    } else if (name == "reset-mid-body") {
        SendResetMidBody(socket);
        return;
    } else if (name == "silent") {
        HoldUntilPeerGoes(socket, settings);
        return;
    } else {
        SendAll(socket, "HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\n\r\n");
    }
    shutdown(socket, SHUT_WR);
    HoldUntilPeerGoes(socket, settings);
}

void Serve(int socket, Settings settings) {
    // A peer that stops reading must not hold a send for longer than this.
    timeval sendLimit{kSendLimitSeconds, 0};
    setsockopt(socket, SOL_SOCKET, SO_SNDTIMEO, &sendLimit, sizeof sendLimit);
    const std::string head = ReadRequestHead(socket);
    const std::string line = head.substr(0, head.find("\r\n"));
    Log(settings, OneLine(head));
    const std::string prefix = "GET /case/";
    if (line.rfind(prefix, 0) == 0) {
        const size_t end = line.find(' ', prefix.size());
        Answer(socket, line.substr(prefix.size(), end - prefix.size()), settings);
    }
    close(socket);
}

int ListenOnLoopback(int backlog) {
    const int listener = socket(AF_INET, SOCK_STREAM, 0);
    const int yes = 1;
    setsockopt(listener, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (listener < 0 ||
        bind(listener, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0 ||
        listen(listener, backlog) != 0) {
        std::perror("hostile-server: listen");
        std::exit(1);
    }
    return listener;
}

int PortOf(int listener) {
    sockaddr_in address{};
    socklen_t length = sizeof address;
    getsockname(listener, reinterpret_cast<sockaddr *>(&address), &length);
    return ntohs(address.sin_port);
}

// A port that takes no new connection: its one-place accept queue is filled by the server's
// own connection and never emptied, so the kernel drops every further SYN, as a host that does
// not answer would.
int FillBlackhole(int listener) {
    const int filler = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<uint16_t>(PortOf(listener)));
    if (connect(filler, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0) {
        std::perror("hostile-server: blackhole");
        std::exit(1);
    }
    return filler;
}

} // namespace

int main(int argc, char **argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: hostile-server DIR LIFETIME_SECONDS HOLD_SECONDS\n");
        return 2;
    }
    const Settings settings{argv[1], Clock::now() + std::chrono::seconds(std::atoi(argv[2])),
                            std::chrono::seconds(std::atoi(argv[3]))};
    const int listener = ListenOnLoopback(SOMAXCONN);
    int blackhole = ListenOnLoopback(0);
    // Filled before its port is made known: no client may take the one place.
    const int blackholeFiller = FillBlackhole(blackhole);
    {
        std::ofstream ports(settings.dir + "/ports.partial");
        ports << "port=" << PortOf(listener) << "\nblackhole_port=" << PortOf(blackhole) << '\n';
    }
    std::rename((settings.dir + "/ports.partial").c_str(), (settings.dir + "/ports").c_str());
    const auto blackholeEnd = Clock::now() + settings.hold;
    while (Clock::now() < settings.end) {
        // After the hold the blackhole port closes: the next SYN a client retries is refused.
        if (blackhole >= 0 && Clock::now() >= blackholeEnd) {
            close(blackholeFiller);
            close(blackhole);
            blackhole = -1;
        }
        pollfd wanted{listener, POLLIN, 0};
        if (poll(&wanted, 1, kAcceptPollMilliseconds) > 0) {
            const int connection = accept(listener, nullptr, nullptr);
            if (connection >= 0) {
                std::thread(Serve, connection, settings).detach();
            }
        }
    }
    if (blackhole >= 0) {
        close(blackholeFiller);
        close(blackhole);
    }
    close(listener);
    return 0;
}
