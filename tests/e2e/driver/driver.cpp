// zv_driver: the GUI test driver. A console program that starts a program and then works
// through a list of steps: find its windows and message boxes, compare texts, click, post keys,
// and check the exit code. Prints each failure and exits with 1 on the first one, 0 when every
// step held.
//   zv_driver PROGRAM STEP...
//   zv_driver PROGRAM --steps FILE   (UTF-8, one step a line, its words separated by tabs; the
//                                    way to pass Chinese texts, which a Linux command line
//                                    cannot carry into Wine without the matching locale)
// With ZV_EXPECT_CODE_PAGE set, the driver first checks that the system's code page is that one,
// with ZV_EXPECTED_DPI that the screen has that DPI. It sees the screen's pixels at any DPI.
// Steps (texts may use \r \n \\; they are compared as code page 936 bytes):
//   box CAPTION TEXT      a message box of the program with this caption and exactly this text
//   press ID              presses the button ID (1 = OK) of the current box or window
//   click ID              clicks control ID of the current window (BM_CLICK, as a user would)
//   clickwait ID          clicks control ID and waits until the program has handled the click
//                         (sent, not posted; for handlers that return)
//   close                 asks the current window to close (WM_CLOSE, as its close box does)
//   menu ID               sends command ID of the current window's menu (WM_COMMAND, as a
//                         chosen menu item does)
//   window CLASS TITLE    a top-level window of the program with this class and title
//   text ID TEXT          control ID of the current window has exactly this text (0: the window)
//   served PATH           the web test peers (ZV_WEB_SERVERS) logged a request for PATH since the
//                         driver started
//   settext ID TEXT       sets the text of control ID of the current window (WM_SETTEXT)
//   print ID              writes the text of control ID of the current window to standard
//                         output as it stands (code page 936 bytes), then a line feed
//   shot FILE             saves the current window as it is on screen as a 24-bit BMP file
//   key VK                posts key down and up of virtual key VK to the focused control
//   shift-key 9           Shift+Tab: as key, with Shift held down in the program's keyboard
//                         state until the focus has moved
//   alt-key VK            posts system key down and up of VK with Alt held (115: Alt+F4)
//   focus ID              the keyboard focus comes to control ID of the current window (0: the
//                         window itself) within the wait time
//   wait MS               waits MS milliseconds (gives an outside observer time, e.g. a screenshot)
//   run                   waits until the program ends, writing the caption and text of each of
//                         its message boxes to standard output and pressing the box's OK; the
//                         driver then ends with the program's exit code
//   exit CODE             the program ends with CODE (as a 32-bit value: -1 is 0xFFFFFFFF)
//   exit-within MS CODE   as exit, within MS milliseconds; prints how long it took
//   repeat COUNT          runs the step after it COUNT times
//   rounds COUNT          as the first step: runs the steps after it COUNT times, each round with
//                         a fresh start of the program; the first failing round ends the run
//   wait-round MS         waits MS milliseconds times the round's number (0 in the first), so
//                         that a step comes at a moment that moves through the rounds
//   frame WIDTH HEIGHT    the current window's outer rectangle is WIDTH x HEIGHT, centred on the
//                         screen, with a fixed border, a minimize box and no maximize box
//   accessible ID ROLE NAME VALUE
//                         control ID of the current window reads to a screen reader (oleacc,
//                         from this process) with this role (static, text, button; * for any),
//                         name and value; (none) for no name or value
//   client WIDTH HEIGHT   the current window's client area is WIDTH x HEIGHT 96-DPI units at the
//                         screen's DPI (within a pixel)
//   memory-mark           notes the instrumented program's live heap blocks, the process's
//                         committed private bytes, threads and handles, and prints them
//   memory-same N UNIT MS the live heap blocks are as noted, the threads and handles at most as
//                         many, and the committed private bytes have grown by at most N UNIT
//                         (KiB or MiB) since; read again every 100 ms until that holds or MS
//                         milliseconds have passed (what an abandoned fetch holds goes when it
//                         winds down); prints each reading
//   memory-bytes N UNIT MS    as memory-same for the committed private bytes alone (the other
//                         figures are printed, not compared)
//   and the steps of robustness_steps.h (timed click, either of two texts, long text) and of
//   process_figures.h (threads, handles and committed memory back where they were)
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "tests/e2e/driver/accessible_probe.h"
#include "tests/e2e/driver/memory_probe.h"
#include "tests/e2e/driver/process_figures.h"
#include "tests/e2e/driver/robustness_steps.h"
#include "tests/e2e/driver/window_frame.h"
#include "tests/e2e/driver/window_text.h"

namespace {

constexpr DWORD kWaitMilliseconds = 20000;
constexpr DWORD kPollMilliseconds = 20;

struct Driver {
    PROCESS_INFORMATION process{};
    HWND current = nullptr;
    // Set by the run step: the driver ends with the program's exit code.
    bool endWithProgramCode = false;
    DWORD programCode = 0;
    // Noted by memory-mark.
    struct Memory {
        int32_t blocks = 0;
        uint64_t bytes = 0;
        DWORD threads = 0;
        DWORD handles = 0;
    } marked;
    // The round of a run of several (the rounds step), counted from 0.
    DWORD round = 0;
};

std::wstring UnescapeWide(const wchar_t *text) {
    std::wstring wide;
    for (const wchar_t *c = text; *c != L'\0'; ++c) {
        if (*c == L'\\' && c[1] != L'\0') {
            ++c;
            wide += *c == L'r' ? L'\r' : *c == L'n' ? L'\n' : *c;
        } else {
            wide += *c;
        }
    }
    return wide;
}

std::string Unescape(const wchar_t *text) {
    return ProgramBytes(UnescapeWide(text));
}

std::string WindowText(HWND window) {
    return ReadWindowText(window, kWaitMilliseconds);
}

struct Search {
    DWORD processId;
    std::string className;
    std::string title;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM parameter) {
    auto *search = reinterpret_cast<Search *>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char className[256];
    GetClassNameA(window, className, sizeof className);
    if (owner == search->processId && search->className == className &&
        WindowText(window) == search->title && IsWindowVisible(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND WaitForWindow(const Driver &driver, const std::string &className, const std::string &title) {
    Search search{driver.process.dwProcessId, className, title, nullptr};
    for (DWORD waited = 0; waited < kWaitMilliseconds; waited += kPollMilliseconds) {
        EnumWindows(&MatchWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found != nullptr) {
            return search.found;
        }
        if (WaitForSingleObject(driver.process.hProcess, kPollMilliseconds) == WAIT_OBJECT_0) {
            EnumWindows(&MatchWindow, reinterpret_cast<LPARAM>(&search));
            return search.found;
        }
    }
    return nullptr;
}

bool Fail(const char *step, const std::string &detail) {
    std::printf("FAIL %s: %s\n", step, detail.c_str());
    return false;
}

bool ExpectText(const char *step, const std::string &actual, const std::string &expected) {
    if (actual == expected) {
        return true;
    }
    return Fail(step,
                "expected \"" + Printable(expected) + "\", read \"" + Printable(actual) + "\"");
}

std::wstring WindowsPath(const wchar_t *path) {
    std::wstring windowsPath = path;
    // A Linux path from the test runner names the same file on drive Z:.
    if (!windowsPath.empty() && windowsPath[0] == L'/') {
        for (wchar_t &c : windowsPath) {
            c = c == L'/' ? L'\\' : c;
        }
        windowsPath = L"Z:" + windowsPath;
    }
    return windowsPath;
}

// The words of a steps file: lines split at tabs, empty lines and lines starting with # skipped.
bool ReadStepsFile(const wchar_t *path, std::vector<std::wstring> &words) {
    HANDLE file = CreateFileW(WindowsPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return Fail("steps", "cannot open the steps file");
    }
    std::string bytes(GetFileSize(file, nullptr), '\0');
    DWORD read = 0;
    ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    CloseHandle(file);
    bytes.resize(read);
    std::wstring text(bytes.size(), L'\0');
    text.resize(static_cast<size_t>(MultiByteToWideChar(CP_UTF8, 0, bytes.data(),
                                                        static_cast<int>(bytes.size()), text.data(),
                                                        static_cast<int>(text.size()))));
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find(L'\n', start);
        end = end == std::wstring::npos ? text.size() : end;
        const std::wstring line = text.substr(start, end - start);
        start = end + 1;
        if (line.empty() || line[0] == L'#') {
            continue;
        }
        for (size_t from = 0;;) {
            const size_t tab = line.find(L'\t', from);
            words.push_back(line.substr(from, tab == std::wstring::npos ? tab : tab - from));
            if (tab == std::wstring::npos) {
                break;
            }
            from = tab + 1;
        }
    }
    return true;
}

bool StartProgram(Driver &driver, const wchar_t *path) {
    const std::wstring program = WindowsPath(path);
    std::wstring commandLine = L"\"" + program + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &driver.process)) {
        return Fail("start", "cannot start the program, error " + std::to_string(GetLastError()));
    }
    WaitForInputIdle(driver.process.hProcess, kWaitMilliseconds);
    return true;
}

// The current window's pixels from the screen, as a bottom-up 24-bit BMP file.
bool SaveWindowShot(HWND window, const wchar_t *path) {
    RECT area{};
    GetWindowRect(window, &area);
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    if (width <= 0 || height <= 0) {
        return Fail("shot", "the window has no area");
    }
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
    SelectObject(memory, old);
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    const DWORD rowBytes = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
    std::vector<char> pixels(rowBytes * static_cast<DWORD>(height));
    const int rows = GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), pixels.data(),
                               reinterpret_cast<BITMAPINFO *>(&info), DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    if (rows != height) {
        return Fail("shot", "cannot read the window's pixels");
    }
    BITMAPFILEHEADER header{};
    header.bfType = 0x4D42; // "BM"
    header.bfOffBits = sizeof header + sizeof info;
    header.bfSize = header.bfOffBits + static_cast<DWORD>(pixels.size());
    HANDLE file = CreateFileW(WindowsPath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return Fail("shot", "cannot create the file");
    }
    DWORD written = 0;
    bool ok = WriteFile(file, &header, sizeof header, &written, nullptr) &&
              WriteFile(file, &info, sizeof info, &written, nullptr) &&
              WriteFile(file, pixels.data(), static_cast<DWORD>(pixels.size()), &written, nullptr);
    CloseHandle(file);
    return ok || Fail("shot", "cannot write the file");
}

// The control of the current window that a step names, or null.
HWND StepControl(const Driver &driver, const wchar_t *id) {
    const int control = static_cast<int>(std::wcstol(id, nullptr, 0));
    return control == 0 ? driver.current : GetDlgItem(driver.current, control);
}

struct BoxSearch {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK MatchBox(HWND window, LPARAM parameter) {
    auto *search = reinterpret_cast<BoxSearch *>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char className[16];
    GetClassNameA(window, className, sizeof className);
    if (owner == search->processId && std::string(className) == "#32770" &&
        IsWindowVisible(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

// A message box the program shows, or null.
HWND ProgramBox(const Driver &driver) {
    BoxSearch search{driver.process.dwProcessId, nullptr};
    EnumWindows(&MatchBox, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string BoxDescription(HWND box) {
    return "\"" + WindowText(box) + "\": \"" + ReadBoxMessage(box, kWaitMilliseconds) + "\"";
}

// Answers the program's message boxes until it ends; then its exit code is the driver's.
bool RunToEnd(Driver &driver) {
    while (WaitForSingleObject(driver.process.hProcess, kPollMilliseconds) == WAIT_TIMEOUT) {
        HWND box = ProgramBox(driver);
        if (box != nullptr) {
            std::printf("%s\n", BoxDescription(box).c_str());
            std::fflush(stdout);
            PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
            while (IsWindow(box) && IsWindowVisible(box) &&
                   WaitForSingleObject(driver.process.hProcess, kPollMilliseconds) ==
                       WAIT_TIMEOUT) {
            }
        }
    }
    GetExitCodeProcess(driver.process.hProcess, &driver.programCode);
    driver.endWithProgramCode = true;
    return true;
}

bool ExpectExit(Driver &driver, const wchar_t *codeText, DWORD within = kWaitMilliseconds) {
    const auto expected = static_cast<DWORD>(std::wcstol(codeText, nullptr, 10));
    const ULONGLONG start = GetTickCount64();
    if (WaitForSingleObject(driver.process.hProcess, within) != WAIT_OBJECT_0) {
        TerminateProcess(driver.process.hProcess, 1);
        return Fail("exit", "the program did not end within " + std::to_string(within) + " ms");
    }
    if (within != kWaitMilliseconds) {
        std::printf("exit-within: the program ended after %llu ms\n", GetTickCount64() - start);
    }
    DWORD code = 0;
    GetExitCodeProcess(driver.process.hProcess, &code);
    if (code != expected) {
        char detail[80];
        std::snprintf(detail, sizeof detail, "expected exit code 0x%08lX, got 0x%08lX",
                      static_cast<unsigned long>(expected), static_cast<unsigned long>(code));
        return Fail("exit", detail);
    }
    return true;
}

HWND FocusedWindow(const Driver &driver) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(driver.current, nullptr), &info);
    return info.hwndFocus;
}

bool PostKey(const Driver &driver, WPARAM vk) {
    HWND focus = FocusedWindow(driver);
    HWND target = focus != nullptr ? focus : driver.current;
    PostMessageA(target, WM_KEYDOWN, vk, 1);
    PostMessageA(target, WM_KEYUP, vk, 0xC0000001);
    return true;
}

// A key pressed with Alt held, as the system posts it: WM_SYSKEYDOWN with the context bit set.
bool PostAltKey(const Driver &driver, WPARAM vk) {
    constexpr LPARAM kAltDown = 1 << 29;
    HWND focus = FocusedWindow(driver);
    HWND target = focus != nullptr ? focus : driver.current;
    PostMessageA(target, WM_SYSKEYDOWN, vk, kAltDown | 1);
    PostMessageA(target, WM_SYSKEYUP, vk, 0xC0000001 | kAltDown);
    return true;
}

// Shift is held in the keyboard state that the driver's thread shares with the program's GUI
// thread while it is attached to its input; posted keys do not change that state themselves. It
// is held until the key has visibly been handled: the focus has left the control it was on (the
// step moves the focus backwards). Answering a sent message would prove nothing, since a thread
// handles sent messages before the posted ones.
bool PostShiftedKey(const Driver &driver, WPARAM vk) {
    if (vk != VK_TAB) {
        return Fail("shift-key", "only Shift+Tab is held until it has been handled");
    }
    const DWORD program = GetWindowThreadProcessId(driver.current, nullptr);
    const DWORD self = GetCurrentThreadId();
    if (!AttachThreadInput(self, program, TRUE)) {
        return Fail("shift-key", "cannot share the program's keyboard state");
    }
    BYTE state[256];
    GetKeyboardState(state);
    state[VK_SHIFT] = state[VK_LSHIFT] = 0x80;
    SetKeyboardState(state);
    const HWND before = FocusedWindow(driver);
    PostKey(driver, vk);
    for (DWORD waited = 0; waited < kWaitMilliseconds && FocusedWindow(driver) == before;
         waited += kPollMilliseconds) {
        Sleep(kPollMilliseconds);
    }
    state[VK_SHIFT] = state[VK_LSHIFT] = 0;
    SetKeyboardState(state);
    AttachThreadInput(self, program, FALSE);
    return true;
}

bool ExpectFocus(const Driver &driver, int control) {
    HWND wanted = control == 0 ? driver.current : GetDlgItem(driver.current, control);
    if (wanted == nullptr) {
        return Fail("focus", "the current window has no such control");
    }
    HWND focus = nullptr;
    for (DWORD waited = 0; waited < kWaitMilliseconds; waited += kPollMilliseconds) {
        focus = FocusedWindow(driver);
        if (focus == wanted) {
            return true;
        }
        Sleep(kPollMilliseconds);
    }
    return Fail("focus", "the focus is on control " +
                             std::to_string(focus != nullptr ? GetDlgCtrlID(focus) : -1) +
                             ", not on " + std::to_string(control));
}

// Reads the live blocks, committed private bytes, threads and handles; prints them after the
// label unless quiet.
bool ReadMemory(const Driver &driver, const char *label, Driver::Memory &memory,
                bool quiet = false) {
    if (!ReadLiveBlocks(driver.process.dwProcessId, kWaitMilliseconds, memory.blocks)) {
        // A program that has ended answers nothing either: that is not a missing probe.
        return Fail(label, WaitForSingleObject(driver.process.hProcess, 0) == WAIT_OBJECT_0
                               ? "the program has ended"
                               : "the program has no live-block probe (not the instrumented "
                                 "build?)");
    }
    memory.bytes = CommittedPrivateBytes(driver.process.hProcess);
    memory.threads = ThreadCount(driver.process.dwProcessId);
    memory.handles = HandleCount(driver.process.dwProcessId);
    if (!quiet) {
        std::printf(
            "%s: %ld live heap blocks, %llu committed private bytes, %lu threads, %lu "
            "handles\n",
            label, static_cast<long>(memory.blocks), static_cast<unsigned long long>(memory.bytes),
            static_cast<unsigned long>(memory.threads), static_cast<unsigned long>(memory.handles));
        std::fflush(stdout);
    }
    return true;
}

// What a reading has against the mark (empty when nothing): blocksToo adds the live blocks,
// threads and handles to the committed bytes.
std::string MemoryGrowth(const Driver::Memory &marked, const Driver::Memory &now,
                         uint64_t allowedBytes, bool blocksToo) {
    if (blocksToo && now.blocks != marked.blocks) {
        return std::to_string(now.blocks) + " live heap blocks, noted " +
               std::to_string(marked.blocks);
    }
    if (blocksToo && (now.threads > marked.threads || now.handles > marked.handles)) {
        return std::to_string(now.threads) + " threads and " + std::to_string(now.handles) +
               " handles, noted " + std::to_string(marked.threads) + " and " +
               std::to_string(marked.handles);
    }
    if (now.bytes > marked.bytes + allowedBytes) {
        return "committed private bytes grew by " + std::to_string(now.bytes - marked.bytes) +
               ", allowed " + std::to_string(allowedBytes);
    }
    return {};
}

// memory-same, or with blocksToo false memory-bytes: N UNIT MS from take.
bool ExpectSameMemory(const Driver &driver, const std::function<const wchar_t *()> &take,
                      bool blocksToo) {
    const char *label = blocksToo ? "memory-same" : "memory-bytes";
    const wchar_t *amount = take();
    const wchar_t *unit = take();
    const wchar_t *within = take();
    const std::wstring unitName = unit != nullptr ? unit : L"";
    if (amount == nullptr || within == nullptr || (unitName != L"KiB" && unitName != L"MiB")) {
        return Fail(label, "needs the allowed growth, its unit (KiB or MiB) and a time limit");
    }
    const ULONGLONG end = GetTickCount64() + std::wcstoul(within, nullptr, 10);
    const uint64_t allowed = static_cast<uint64_t>(std::wcstoul(amount, nullptr, 10))
                             << (unitName == L"KiB" ? 10 : 20);
    for (;;) {
        Driver::Memory now;
        if (!ReadMemory(driver, label, now, true)) {
            return false;
        }
        const std::string growth = MemoryGrowth(driver.marked, now, allowed, blocksToo);
        if (growth.empty() || GetTickCount64() >= end) {
            ReadMemory(driver, label, now);
            return growth.empty() || Fail(label, growth);
        }
        Sleep(100);
    }
}

// The lines of the web test peers' request log (ZV_WEB_SERVERS/requests.log); empty when there
// is none.
std::vector<std::string> RequestLogLines() {
    const char *folder = std::getenv("ZV_WEB_SERVERS");
    std::ifstream log(std::string(folder != nullptr ? folder : "") + "/requests.log",
                      std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(log, line);) {
        lines.push_back(line);
    }
    return lines;
}

// The log's length when the driver started: served looks only at requests of this run.
size_t gRequestLogStart = 0;

// nginx logs a request once it has answered it, a moment after the program may have its answer.
bool ExpectServed(const std::string &path) {
    for (DWORD waited = 0; waited < kWaitMilliseconds; waited += kPollMilliseconds) {
        const std::vector<std::string> lines = RequestLogLines();
        for (size_t i = gRequestLogStart; i < lines.size(); ++i) {
            const size_t uri = lines[i].find('\t');
            if (uri != std::string::npos &&
                lines[i].compare(uri + 1, path.size() + 1, path + "\t") == 0) {
                return true;
            }
        }
        Sleep(kPollMilliseconds);
    }
    return Fail("served", "the web server never logged a request for " + Printable(path));
}

bool RunStep(Driver &driver, const std::wstring &step, const std::vector<std::wstring> &words,
             size_t &next);

// Runs the step after the count that many times.
bool RepeatStep(Driver &driver, const std::vector<std::wstring> &words, size_t &next) {
    const long count = next < words.size() ? std::wcstol(words[next++].c_str(), nullptr, 10) : 0;
    if (count <= 0 || next >= words.size()) {
        return Fail("repeat", "needs a positive count and a step after it");
    }
    const size_t first = next;
    for (long round = 0; round < count; ++round) {
        next = first + 1;
        if (!RunStep(driver, words[first], words, next)) {
            return Fail("repeat", "round " + std::to_string(round + 1) + " failed");
        }
    }
    return true;
}

bool RunStep(Driver &driver, const std::wstring &step, const std::vector<std::wstring> &words,
             size_t &next) {
    auto take = [&]() -> const wchar_t * {
        return next < words.size() ? words[next++].c_str() : nullptr;
    };
    if (step == L"box" || step == L"window") {
        const wchar_t *first = take();
        const wchar_t *second = take();
        if (first == nullptr || second == nullptr) {
            return Fail("arguments", "box and window take two texts");
        }
        const bool box = step == L"box";
        const std::string className = box ? "#32770" : Unescape(first);
        const std::string title = Unescape(box ? first : second);
        driver.current = WaitForWindow(driver, className, title);
        if (driver.current == nullptr) {
            HWND shown = box ? nullptr : ProgramBox(driver);
            return Fail(box ? "box" : "window",
                        "no window \"" + Printable(title) + "\" appeared" +
                            (shown != nullptr
                                 ? "; the program shows the box " + BoxDescription(shown)
                                 : std::string()));
        }
        return !box || ExpectText("box text", ReadBoxMessage(driver.current, kWaitMilliseconds),
                                  Unescape(second));
    }
    if (step == L"text") {
        const wchar_t *id = take();
        const wchar_t *text = take();
        if (id == nullptr || text == nullptr || driver.current == nullptr) {
            return Fail("text", "needs a current window, a control id and a text");
        }
        HWND control = StepControl(driver, id);
        if (control == nullptr) {
            return Fail("text", "the current window has no such control");
        }
        std::string actual;
        if (!ReadWindowText(control, kWaitMilliseconds, actual)) {
            return Fail("text", "the control did not answer within " +
                                    std::to_string(kWaitMilliseconds) + " ms");
        }
        return ExpectText("text", actual, Unescape(text));
    }
    if (step == L"served") {
        const wchar_t *path = take();
        return path != nullptr ? ExpectServed(Unescape(path))
                               : Fail("served", "needs the path of a request");
    }
    if (step == L"settext" || step == L"print") {
        const wchar_t *id = take();
        const wchar_t *text = step == L"settext" ? take() : L"";
        if (id == nullptr || text == nullptr || driver.current == nullptr) {
            return Fail("settext", "needs a current window, a control id and for settext a text");
        }
        HWND control = StepControl(driver, id);
        if (control == nullptr) {
            return Fail("settext", "the current window has no such control");
        }
        if (step == L"print") {
            const std::string bytes = WindowText(control);
            std::fwrite(bytes.data(), 1, bytes.size(), stdout);
            std::fputc('\n', stdout);
            return true;
        }
        const std::wstring wide = UnescapeWide(text);
        SendMessageW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str()));
        return ExpectText("settext", WindowText(control), ProgramBytes(wide));
    }
    if (step == L"shot") {
        const wchar_t *path = take();
        if (path == nullptr || driver.current == nullptr) {
            return Fail("shot", "needs a current window and a file");
        }
        return SaveWindowShot(driver.current, path);
    }
    if (step == L"press") {
        const wchar_t *id = take();
        if (id == nullptr || driver.current == nullptr) {
            return Fail("press", "needs a current window and a button id");
        }
        const int control = static_cast<int>(std::wcstol(id, nullptr, 0));
        HWND button = GetDlgItem(driver.current, control);
        PostMessageA(driver.current, WM_COMMAND, MAKEWPARAM(control, BN_CLICKED),
                     reinterpret_cast<LPARAM>(button));
        return true;
    }
    if (step == L"click") {
        const wchar_t *id = take();
        if (id == nullptr || driver.current == nullptr) {
            return Fail("click", "needs a current window and a control id");
        }
        HWND button = GetDlgItem(driver.current, static_cast<int>(std::wcstol(id, nullptr, 0)));
        if (button == nullptr) {
            return Fail("click", "the current window has no such control");
        }
        // Posted: the program may end inside the click's handler.
        PostMessageA(button, BM_CLICK, 0, 0);
        return true;
    }
    if (step == L"clickwait") {
        const wchar_t *id = take();
        if (id == nullptr || driver.current == nullptr) {
            return Fail("clickwait", "needs a current window and a control id");
        }
        HWND button = StepControl(driver, id);
        DWORD_PTR result = 0;
        if (button == nullptr || button == driver.current) {
            return Fail("clickwait", "the current window has no such control");
        }
        if (SendMessageTimeoutA(button, BM_CLICK, 0, 0, SMTO_NORMAL, kWaitMilliseconds, &result) ==
            0) {
            return Fail("clickwait", "the program did not finish handling the click");
        }
        return true;
    }
    if (step == L"close") {
        if (driver.current == nullptr) {
            return Fail("close", "needs a current window");
        }
        PostMessageA(driver.current, WM_CLOSE, 0, 0);
        return true;
    }
    if (step == L"menu") {
        const wchar_t *id = take();
        if (id == nullptr || driver.current == nullptr) {
            return Fail("menu", "needs a current window and a command id");
        }
        // Posted: the program may end inside the item's handler.
        const auto command = static_cast<WORD>(std::wcstol(id, nullptr, 0));
        PostMessageA(driver.current, WM_COMMAND, MAKEWPARAM(command, 0), 0);
        return true;
    }
    if (step == L"wait") {
        const wchar_t *milliseconds = take();
        if (milliseconds == nullptr) {
            return Fail("wait", "needs a time in milliseconds");
        }
        Sleep(static_cast<DWORD>(std::wcstol(milliseconds, nullptr, 10)));
        return true;
    }
    if (step == L"wait-round") {
        const wchar_t *milliseconds = take();
        if (milliseconds == nullptr) {
            return Fail("wait-round", "needs a time in milliseconds");
        }
        Sleep(static_cast<DWORD>(std::wcstol(milliseconds, nullptr, 10)) * driver.round);
        return true;
    }
    if (step == L"key" || step == L"shift-key" || step == L"alt-key") {
        const wchar_t *key = take();
        if (key == nullptr || driver.current == nullptr) {
            return Fail("key", "needs a current window and a virtual key");
        }
        const auto vk = static_cast<WPARAM>(std::wcstol(key, nullptr, 0));
        return step == L"key"       ? PostKey(driver, vk)
               : step == L"alt-key" ? PostAltKey(driver, vk)
                                    : PostShiftedKey(driver, vk);
    }
    if (step == L"focus") {
        const wchar_t *id = take();
        if (id == nullptr || driver.current == nullptr) {
            return Fail("focus", "needs a current window and a control id");
        }
        return ExpectFocus(driver, static_cast<int>(std::wcstol(id, nullptr, 0)));
    }
    if (step == L"run") {
        return RunToEnd(driver);
    }
    if (step == L"repeat") {
        return RepeatStep(driver, words, next);
    }
    if (step == L"frame" || step == L"client") {
        const char *name = step == L"frame" ? "frame" : "client";
        const wchar_t *width = take();
        const wchar_t *height = take();
        if (width == nullptr || height == nullptr || driver.current == nullptr) {
            return Fail(name, "needs a current window, a width and a height");
        }
        const int w = static_cast<int>(std::wcstol(width, nullptr, 10));
        const int h = static_cast<int>(std::wcstol(height, nullptr, 10));
        const std::string fault = step == L"frame" ? WindowFrameFault(driver.current, w, h)
                                                   : ClientAreaFault(driver.current, w, h);
        return fault.empty() || Fail(name, fault);
    }
    if (step == L"accessible") {
        const wchar_t *id = take();
        const wchar_t *role = take();
        const wchar_t *name = take();
        const wchar_t *value = take();
        if (value == nullptr || driver.current == nullptr) {
            return Fail("accessible",
                        "needs a current window, a control id, a role, a name and a value");
        }
        HWND control = StepControl(driver, id);
        if (control == nullptr) {
            return Fail("accessible", "the current window has no such control");
        }
        auto text = [](const wchar_t *word) {
            return std::wstring(word) == L"(none)" ? std::string() : Unescape(word);
        };
        const std::string fault = AccessibleFault(control, Unescape(role), text(name), text(value));
        return fault.empty() || Fail("accessible", fault);
    }
    if (step == L"memory-mark") {
        return ReadMemory(driver, "memory-mark", driver.marked);
    }
    if (step == L"memory-same" || step == L"memory-bytes") {
        return ExpectSameMemory(driver, take, step == L"memory-same");
    }
    if (step == L"exit") {
        const wchar_t *code = take();
        return code != nullptr ? ExpectExit(driver, code) : Fail("exit", "needs an exit code");
    }
    if (step == L"exit-within") {
        const wchar_t *milliseconds = take();
        const wchar_t *code = take();
        return code != nullptr
                   ? ExpectExit(driver, code,
                                static_cast<DWORD>(std::wcstol(milliseconds, nullptr, 10)))
                   : Fail("exit-within", "needs a time in milliseconds and an exit code");
    }
    if (const std::optional<bool> held = RunRobustnessStep(
            {driver.current, Unescape, UnescapeWide, WindowText, Printable}, step, take)) {
        return *held;
    }
    if (const std::optional<bool> held =
            RunProcessFiguresStep(driver.process.hProcess, step, take)) {
        return *held;
    }
    return Fail("arguments", "unknown step");
}

} // namespace

int main() {
    // Texts go to standard output byte for byte: no CR is added before a line feed.
    _setmode(_fileno(stdout), _O_BINARY);
    int count = 0;
    wchar_t **arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (arguments == nullptr || count < 2) {
        std::printf("usage: zv_driver PROGRAM STEP...\n");
        return 2;
    }
    std::vector<std::wstring> words;
    if (count == 4 && std::wstring(arguments[2]) == L"--steps") {
        if (!ReadStepsFile(arguments[3], words)) {
            return 1;
        }
    } else {
        words.assign(arguments + 2, arguments + count);
    }
    // A run under another system code page names it, and proves that Wine took it: the program
    // runs under the same one.
    if (const char *codePage = std::getenv("ZV_EXPECT_CODE_PAGE")) {
        if (GetACP() != static_cast<UINT>(std::atoi(codePage))) {
            std::printf("FAIL code page: the system code page is %u, not %s\n", GetACP(), codePage);
            return 1;
        }
    }
    SeeScreenPixels();
    if (const char *dpi = std::getenv("ZV_EXPECTED_DPI")) {
        if (ScreenDpi() != std::atoi(dpi)) {
            std::printf("FAIL DPI: the screen's DPI is %d, not %s\n", ScreenDpi(), dpi);
            return 1;
        }
    }
    gRequestLogStart = RequestLogLines().size();
    size_t first = 0;
    DWORD rounds = 1;
    if (words.size() >= 2 && words[0] == L"rounds") {
        rounds = static_cast<DWORD>(std::wcstoul(words[1].c_str(), nullptr, 10));
        first = 2;
    }
    Driver driver;
    bool ok = true;
    for (DWORD round = 0; ok && round < rounds; ++round) {
        driver = Driver{};
        driver.round = round;
        if (!StartProgram(driver, arguments[1])) {
            return 1;
        }
        for (size_t next = first; ok && next < words.size();) {
            const std::wstring step = words[next++];
            ok = RunStep(driver, step, words, next);
        }
        if (!ok && rounds > 1) {
            std::printf("FAIL in round %lu of %lu\n", round + 1, rounds);
        }
        if (!ok && WaitForSingleObject(driver.process.hProcess, 0) == WAIT_TIMEOUT) {
            TerminateProcess(driver.process.hProcess, 1);
        }
        CloseHandle(driver.process.hThread);
        CloseHandle(driver.process.hProcess);
    }
    if (ok && driver.endWithProgramCode) {
        return static_cast<int>(driver.programCode);
    }
    std::printf(ok ? "ok\n" : "");
    return ok ? 0 : 1;
}
