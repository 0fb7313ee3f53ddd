// Starting, finding, clicking and ending a program under measurement.
#include "bench/gui_bench/program_process.h"

#include "bench/gui_bench/samples.h"

#include <cstdio>
#include <vector>

namespace {

constexpr DWORD kWaitMilliseconds = 20000;

struct MainWindowSearch {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK MatchMainWindow(HWND window, LPARAM parameter) {
    auto *search = reinterpret_cast<MainWindowSearch *>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && IsWindowVisible(window) &&
        GetDlgItem(window, kDownloadButtonId) != nullptr) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

std::wstring WindowsPath(std::wstring path) {
    if (!path.empty() && path[0] == L'/') {
        for (wchar_t &c : path) {
            c = c == L'/' ? L'\\' : c;
        }
        path = L"Z:" + path;
    }
    return path;
}

} // namespace

bool StartProgramProcess(const std::wstring &path, ProgramProcess &program) {
    const std::wstring file = WindowsPath(path);
    std::wstring commandLine = L"\"" + file + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    return CreateProcessW(file.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          nullptr, &startup, &program.process) != 0;
}

HWND WaitForReadyMainWindow(const ProgramProcess &program) {
    WaitForInputIdle(program.process.hProcess, kWaitMilliseconds);
    const ULONGLONG deadline = GetTickCount64() + kWaitMilliseconds;
    MainWindowSearch search{program.process.dwProcessId, nullptr};
    while (search.found == nullptr && GetTickCount64() < deadline) {
        EnumWindows(&MatchMainWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found == nullptr &&
            WaitForSingleObject(program.process.hProcess, 1) == WAIT_OBJECT_0) {
            return nullptr;
        }
    }
    DWORD_PTR answer = 0;
    if (search.found == nullptr || SendMessageTimeoutA(search.found, WM_NULL, 0, 0, SMTO_NORMAL,
                                                       kWaitMilliseconds, &answer) == 0) {
        return nullptr;
    }
    return search.found;
}

void EndProgramProcess(ProgramProcess &program) {
    if (program.process.hProcess == nullptr) {
        return;
    }
    if (program.window != nullptr) {
        PostMessageA(program.window, WM_CLOSE, 0, 0);
    }
    if (WaitForSingleObject(program.process.hProcess, kWaitMilliseconds) != WAIT_OBJECT_0) {
        TerminateProcess(program.process.hProcess, 1);
        WaitForSingleObject(program.process.hProcess, kWaitMilliseconds);
    }
    CloseHandle(program.process.hThread);
    CloseHandle(program.process.hProcess);
    program = ProgramProcess{};
}

std::string ControlText(HWND control) {
    // WM_GETTEXT crosses the process boundary; the output of a 4 MiB page is still short.
    std::vector<char> buffer(64 * 1024);
    const LRESULT length =
        SendMessageA(control, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()));
    return std::string(buffer.data(), static_cast<size_t>(length));
}

void SetControlText(HWND control, const std::string &text) {
    SendMessageA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

namespace {

bool ClickDownload(const ProgramProcess &program) {
    DWORD_PTR result = 0;
    // Sent, not posted: the call returns after the button's handler has run.
    return SendMessageTimeoutA(GetDlgItem(program.window, kDownloadButtonId), BM_CLICK, 0, 0,
                               SMTO_NORMAL, kWaitMilliseconds, &result) != 0;
}

} // namespace

bool ClickAndCheck(const ProgramProcess &program, const ClickPage &page, double *milliseconds) {
    HWND output = GetDlgItem(program.window, kOutputBoxId);
    // Emptied first, so that the text read afterwards is this click's.
    SetControlText(output, "");
    const LARGE_INTEGER start = Now();
    const bool handled = ClickDownload(program);
    if (milliseconds != nullptr) {
        *milliseconds = MillisecondsSince(start);
    }
    const std::string text = ControlText(output);
    if (!handled || text != page.expectedOutput) {
        std::printf("bench_gui: the click on %s showed \"%s\"\n", page.url.c_str(), text.c_str());
        return false;
    }
    return true;
}
