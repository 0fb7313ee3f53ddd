// zv_allocation_sweep: fault injection over start-up and one click of the downloader. Runs the
// fault-injection variant once without a failure to count the runtime heap's allocation requests
// that start-up and one click on a page of the test site make, then once for every N from 1 to
// that count with request N refused. Each of those runs must end in the memory-failure box that
// names the refused request's byte count, and, once OK is pressed, with exit code -1: nothing
// else, no crash, no hang. Prints every run that ends otherwise and a summary; exits 0 when
// every run held.
//   zv_allocation_sweep PROGRAM [--page PAGE] [--exit | --close-during-click] [FIRST LAST]
// FIRST..LAST limit N, for looking at a few runs. PAGE is the click's address: a path on the test
// site, or a whole address (default /dance/play/one.html, whose lines the click shows; any other
// page is one whose click fails and leaves the output box empty). The test site's folder comes
// from ZV_WEB_SERVERS (its servers.txt names the HTTP port).
// --exit closes the window after the click; --close-during-click closes it while the click waits
// for a server of the sweep's that takes the connection and never answers (no PAGE then).
// Both sweep only the requests made from the close on (start-up and the click have runs of their
// own); their count is read from memory the program fills, since it has ended by then.
#include <winsock2.h>

#include <windows.h>

#include <shellapi.h>

#include <cstdio>
#include <cstring>
#include <cwchar>
#include <string>

#include "tests/e2e/driver/memory_probe.h"
#include "tests/e2e/driver/window_text.h"
#include "tests/faults/program_run.h"
#include "tests/support/web_peer_ports.h"

namespace {

constexpr wchar_t kFailVariable[] = L"ZV_FAIL_ALLOCATION";
// One step of a run (start-up, a click, the end after OK) that takes longer is a hang.
constexpr DWORD kStepMilliseconds = 20000;
constexpr DWORD kPollMilliseconds = 10;
constexpr DWORD kSetTextMilliseconds = 2000;
constexpr int kAddressBox = 100;
constexpr int kDownloadButton = 120;
constexpr int kOutputBox = 130;
constexpr DWORD kReportExitCode = 0xFFFFFFFF;
// A fault usually repeats over many neighbouring N, and each failing run may take the full
// bound: the sweep stops after this many, which are enough to look into.
constexpr uint32_t kFaultsShown = 3;
// A run that never reaches request N (a fetch of the test page that failed under load leaves
// the output box empty and makes fewer requests) is made again, this many times at most.
constexpr int kRunsPerRequest = 3;

// What the run does after start-up: only the click, or a close after it or during it.
enum class Ending { kNone, kAfterClick, kDuringClick };
Ending gEnding = Ending::kNone;
// The never-answering server's listening socket, for kDuringClick.
SOCKET gSilentServer = INVALID_SOCKET;
// The program's count of requests and its refused request, readable after it has ended.
volatile uint32_t *gCounts = nullptr;

const std::string kWindowClass = "KVWindow";
const std::string kWindowTitle = "Zorvin网音乐下载器-Varo";
const std::string kPagePath = "/dance/play/one.html";
const std::string kOutput = "Song One\r\nhttp://mix.zorvin.cn/mix/2024/03/song-one.m4a\r\n"
                            "http://mp3.zorvin.cn/mp3/2024/03/song-one.mp3";

std::string RefusalBox(uint32_t bytes) {
    return "运行时出错!\r\n\r\n错误信息：分配 " + std::to_string(bytes) + " 字节内存失败!\r\n";
}

// The page's address: on the test site (the HTTP port of the web peers) for a path.
std::string PageAddress(const std::string &page) {
    const int port = WebPeerPort("http_port");
    if (page.empty() || page[0] != '/') {
        return page;
    }
    return port == 0 ? std::string() : "http://127.0.0.1:" + std::to_string(port) + page;
}

// What the output box shows after the counting run's click.
std::string gExpectedOutput = kOutput;

bool Ask(const ProgramRun &run, const wchar_t *question, uint32_t &answer) {
    return AskHeapProbe(run.ProcessId(), question, kStepMilliseconds, answer);
}

// Waits until the program's thread asks for messages: in its message loop, or in the loop of a
// box it shows. False when it does not within the bound.
bool Answers(HWND window) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, kStepMilliseconds, &result) != 0;
}

// Enters the address into the program's window, which answers messages; false when the program
// is busy beyond the bound, which a box shown inside the edit's handling would cause.
bool EnterAddress(HWND window, const std::string &address) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(GetDlgItem(window, kAddressBox), WM_SETTEXT, 0,
                               reinterpret_cast<LPARAM>(address.c_str()), SMTO_NORMAL,
                               kSetTextMilliseconds, &result) != 0;
}

void CALLBACK NoteClickHandled(HWND, UINT, ULONG_PTR handled, LRESULT) {
    *reinterpret_cast<bool *>(handled) = true;
}

// Clicks the button as a user would and waits until the program has handled the click (true),
// or shows a box, or ends. The click is sent with a callback, not waited for: a box shown inside
// its handler would hold a plain send until the box is closed.
bool ClickAndWait(const ProgramRun &run, HWND window) {
    bool handled = false;
    if (!SendMessageCallbackA(GetDlgItem(window, kDownloadButton), BM_CLICK, 0, 0,
                              &NoteClickHandled, reinterpret_cast<ULONG_PTR>(&handled))) {
        return false;
    }
    DWORD code = 0;
    for (DWORD waited = 0;
         !handled && waited < kStepMilliseconds && run.FindBox() == nullptr && !run.Ended(code);
         waited += kPollMilliseconds) {
        MSG message;
        // The callback is called while the driver's thread looks for messages.
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageA(&message);
        }
        Sleep(kPollMilliseconds);
    }
    return handled;
}

// Opens the memory the program keeps its counts in, named to it by ZV_ALLOCATION_COUNTS.
bool ShareCounts() {
    const std::wstring name = L"ZvAllocationCounts" + std::to_wstring(GetCurrentProcessId());
    const HANDLE mapping = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                              2 * sizeof(uint32_t), name.c_str());
    gCounts = mapping == nullptr ? nullptr
                                 : static_cast<volatile uint32_t *>(MapViewOfFile(
                                       mapping, FILE_MAP_WRITE, 0, 0, 2 * sizeof(uint32_t)));
    return gCounts != nullptr && SetEnvironmentVariableW(L"ZV_ALLOCATION_COUNTS", name.c_str());
}

// A server on a free port of 127.0.0.1 that takes connections and never answers; its address.
std::string SilentServerAddress() {
    WSADATA data;
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int size = sizeof local;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0 ||
        (gSilentServer = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP)) == INVALID_SOCKET ||
        bind(gSilentServer, reinterpret_cast<sockaddr *>(&local), sizeof local) != 0 ||
        listen(gSilentServer, SOMAXCONN) != 0 ||
        getsockname(gSilentServer, reinterpret_cast<sockaddr *>(&local), &size) != 0) {
        return {};
    }
    return "http://127.0.0.1:" + std::to_string(ntohs(local.sin_port)) + kPagePath;
}

// Waits until the click's fetch has connected to the silent server, and takes the connection
// (closed by the caller once the run is over); INVALID_SOCKET when none came within the bound.
SOCKET ClickReachesSilentServer(HWND window) {
    if (!PostMessageA(GetDlgItem(window, kDownloadButton), BM_CLICK, 0, 0)) {
        return INVALID_SOCKET;
    }
    fd_set pending;
    FD_ZERO(&pending);
    FD_SET(gSilentServer, &pending);
    timeval bound{static_cast<long>(kStepMilliseconds / 1000), 0};
    return select(0, &pending, nullptr, nullptr, &bound) == 1
               ? accept(gSilentServer, nullptr, nullptr)
               : INVALID_SOCKET;
}

// Clicks and reaches the moment of the close: the click handled, or waiting for the silent
// server. Its connection is put into connection; false when the moment was not reached.
bool ReachClose(const ProgramRun &run, HWND window, SOCKET &connection) {
    if (gEnding != Ending::kDuringClick) {
        return ClickAndWait(run, window);
    }
    connection = ClickReachesSilentServer(window);
    return connection != INVALID_SOCKET;
}

// Start-up and one click without a failure: their number of allocation requests, or 0 after
// printing what went wrong. With a close, the requests made before it go into before.
uint32_t CountRequests(const std::wstring &program, const std::string &address, uint32_t &before) {
    ProgramRun run(program, kFailVariable, L"");
    HWND window = nullptr;
    for (DWORD waited = 0; run.Started() && window == nullptr && waited < kStepMilliseconds;
         waited += kPollMilliseconds) {
        window = run.FindWindowNamed(kWindowClass, kWindowTitle);
        Sleep(window == nullptr ? kPollMilliseconds : 0);
    }
    if (window == nullptr) {
        std::printf("FAIL counting run: the window did not appear\n");
        return 0;
    }
    Answers(window);
    EnterAddress(window, address);
    SOCKET connection = INVALID_SOCKET;
    ReachClose(run, window, connection);
    const std::string output =
        gEnding == Ending::kDuringClick
            ? gExpectedOutput
            : ReadWindowText(GetDlgItem(window, kOutputBox), kStepMilliseconds);
    uint32_t made = 0;
    uint32_t refused = 0;
    if ((gEnding == Ending::kDuringClick && connection == INVALID_SOCKET) ||
        output != gExpectedOutput || !Ask(run, L"ZvAllocationsMade", made) ||
        !Ask(run, L"ZvRefusedRequest", refused) || refused != 0 || made == 0) {
        std::printf("FAIL counting run: output \"%s\", %u requests, %u refused\n",
                    Printable(output).c_str(), made, refused);
        return 0;
    }
    PostMessageA(window, WM_CLOSE, 0, 0);
    DWORD code = 0;
    const bool ended = run.WaitForEnd(kStepMilliseconds, code);
    closesocket(connection);
    if (!ended || code != 0 || gCounts[1] != 0) {
        std::printf("FAIL counting run: the program did not end with 0 after closing\n");
        return 0;
    }
    before = gEnding == Ending::kNone ? 0 : made;
    return gEnding == Ending::kNone ? made : gCounts[0];
}

// What the box of run n shows, checked against the refused request; empty when it is the
// memory-failure box of request n.
std::string CheckBox(const ProgramRun &run, HWND box, uint32_t n) {
    uint32_t refused = 0;
    uint32_t bytes = 0;
    if (!Ask(run, L"ZvRefusedRequest", refused) || !Ask(run, L"ZvRefusedBytes", bytes)) {
        return "the probe does not answer";
    }
    const std::string caption = ReadWindowText(box, kStepMilliseconds);
    const std::string message = ReadBoxMessage(box, kStepMilliseconds);
    if (refused != n || caption != "错误" || message != RefusalBox(bytes)) {
        return "request " + std::to_string(refused) + " of " + std::to_string(bytes) +
               " bytes refused; the box \"" + Printable(caption) + "\": \"" + Printable(message) +
               "\"";
    }
    return {};
}

// After OK: the program must end with -1 and show nothing more.
std::string CheckEnd(const ProgramRun &run, HWND firstBox) {
    DWORD code = 0;
    for (DWORD waited = 0; waited < kStepMilliseconds; waited += kPollMilliseconds) {
        if (run.WaitForEnd(kPollMilliseconds, code)) {
            return code == kReportExitCode ? std::string()
                                           : "ended with exit code " + std::to_string(code);
        }
        HWND box = run.FindBox();
        if (box != nullptr && box != firstBox) {
            return "after OK, another box \"" + Printable(ReadBoxMessage(box, kStepMilliseconds)) +
                   "\"";
        }
    }
    return "did not end after OK";
}

// How a run with request n refused ended: as it must, before request n was made, or otherwise.
struct Outcome {
    enum { kHeld, kNotReached, kFault } kind;
    std::string detail;
};

// Runs start-up and one click, and the close if one is swept, with request n refused.
Outcome RunWithRefusal(const std::wstring &program, const std::string &address, uint32_t n) {
    gCounts[0] = 0;
    gCounts[1] = 0;
    ProgramRun run(program, kFailVariable, std::to_wstring(n));
    if (!run.Started()) {
        return {Outcome::kFault, "cannot start the program"};
    }
    bool clicked = false;
    bool closed = false;
    SOCKET connection = INVALID_SOCKET;
    DWORD code = 0;
    for (DWORD waited = 0; waited < kStepMilliseconds; waited += kPollMilliseconds) {
        HWND box = run.FindBox();
        if (box != nullptr) {
            std::string fault = CheckBox(run, box, n);
            PressOk(box);
            fault = fault.empty() ? CheckEnd(run, box) : fault;
            closesocket(connection);
            return {fault.empty() ? Outcome::kHeld : Outcome::kFault, fault};
        }
        if (run.Ended(code)) {
            closesocket(connection);
            if (closed && code == 0 && gCounts[1] == 0 && gCounts[0] < n) {
                return {Outcome::kNotReached,
                        "the run ended after " + std::to_string(gCounts[0]) + " requests"};
            }
            return {Outcome::kFault, "ended with exit code " + std::to_string(code) +
                                         " and no box; request " + std::to_string(gCounts[1]) +
                                         " refused"};
        }
        HWND window = clicked ? nullptr : run.FindWindowNamed(kWindowClass, kWindowTitle);
        if (window != nullptr) {
            clicked = true;
            // The click's handler has returned with nothing refused: no box can come. (A box
            // that the dialog manager has made but not yet shown may be up otherwise: the loop
            // waits for it.)
            uint32_t refused = 0;
            uint32_t made = 0;
            if (gEnding != Ending::kNone && Answers(window) && run.FindBox() == nullptr &&
                EnterAddress(window, address) && ReachClose(run, window, connection) &&
                run.FindBox() == nullptr) {
                PostMessageA(window, WM_CLOSE, 0, 0);
                closed = true;
            } else if (gEnding == Ending::kNone && Answers(window) && run.FindBox() == nullptr &&
                       EnterAddress(window, address) && ClickAndWait(run, window) &&
                       run.FindBox() == nullptr && Ask(run, L"ZvRefusedRequest", refused) &&
                       refused == 0 && Ask(run, L"ZvAllocationsMade", made)) {
                return {Outcome::kNotReached,
                        "start-up and the click made " + std::to_string(made) +
                            " requests; the output box shows \"" +
                            Printable(ReadWindowText(GetDlgItem(window, kOutputBox), 1000)) + "\""};
            }
            waited = 0;
        }
        Sleep(kPollMilliseconds);
    }
    return {Outcome::kFault, "no box within " + std::to_string(kStepMilliseconds) + " ms"};
}

} // namespace

int main() {
    int argc = 0;
    wchar_t **argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    const bool pageGiven = argc >= 4 && std::wcscmp(argv[2], L"--page") == 0;
    int limits = pageGiven ? 4 : 2;
    if (argc > limits && std::wcscmp(argv[limits], L"--exit") == 0) {
        gEnding = Ending::kAfterClick;
        ++limits;
    } else if (argc > limits && !pageGiven &&
               std::wcscmp(argv[limits], L"--close-during-click") == 0) {
        gEnding = Ending::kDuringClick;
        ++limits;
    }
    if (argv == nullptr || (argc != limits && argc != limits + 2)) {
        std::printf("usage: zv_allocation_sweep PROGRAM [--page PAGE] [--exit | "
                    "--close-during-click] [FIRST LAST]\n");
        return 2;
    }
    const std::wstring program = argv[1];
    const std::string page = pageGiven ? ProgramBytes(argv[3]) : kPagePath;
    gExpectedOutput = page == kPagePath ? kOutput : "";
    const std::string address =
        gEnding == Ending::kDuringClick ? SilentServerAddress() : PageAddress(page);
    if (address.empty() || !ShareCounts()) {
        std::printf("FAIL: no test site (ZV_WEB_SERVERS with servers.txt)\n");
        return 1;
    }
    const DWORD start = GetTickCount();
    uint32_t before = 0;
    const uint32_t count = CountRequests(program, address, before);
    if (count == 0) {
        return 1;
    }
    const bool limited = argc == limits + 2;
    const uint32_t first =
        limited ? static_cast<uint32_t>(std::wcstoul(argv[limits], nullptr, 10)) : before + 1;
    const uint32_t last =
        limited ? static_cast<uint32_t>(std::wcstoul(argv[limits + 1], nullptr, 10)) : count;
    uint32_t runs = 0;
    uint32_t repeated = 0;
    uint32_t failed = 0;
    for (uint32_t n = first; n >= 1 && n <= last && failed < kFaultsShown; ++n, ++runs) {
        Outcome outcome = RunWithRefusal(program, address, n);
        for (int again = 1; outcome.kind == Outcome::kNotReached && again < kRunsPerRequest;
             ++again, ++repeated) {
            std::printf("request %u not reached (%s); run again\n", n, outcome.detail.c_str());
            outcome = RunWithRefusal(program, address, n);
        }
        if (outcome.kind != Outcome::kHeld) {
            ++failed;
            std::printf("FAIL request %u refused: %s\n", n, outcome.detail.c_str());
        }
        std::fflush(stdout);
    }
    std::printf("allocation sweep: the runs make %u allocation requests, %u before the close; "
                "%u runs with one refused (%u made again), %u ended otherwise%s; %lu s\n",
                count, gEnding == Ending::kNone ? count : before, runs, repeated, failed,
                failed < kFaultsShown ? "" : " (the sweep stopped there)",
                (GetTickCount() - start) / 1000);
    // After a finished click the close and the exit may make no request at all: nothing to
    // refuse, which the counts show.
    const bool nothingAfterClose = gEnding != Ending::kNone && count == before && !limited;
    return failed == 0 && (runs > 0 || nothingAfterClose) ? 0 : 1;
}
