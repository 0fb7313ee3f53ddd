// Starting a program under test and watching its windows from another process.
#include "tests/faults/program_run.h"

#include "tests/e2e/driver/window_text.h"

namespace {

struct WindowSearch {
    DWORD processId;
    const char *className;
    const std::string *title; // null: any title
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM parameter) {
    auto *search = reinterpret_cast<WindowSearch *>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char className[64];
    if (owner != search->processId || !IsWindowVisible(window) ||
        GetClassNameA(window, className, sizeof className) == 0 ||
        std::string(className) != search->className) {
        return TRUE;
    }
    // A busy program answers late; its title is read with the same bound as any other text.
    if (search->title != nullptr && ReadWindowText(window, 1000) != *search->title) {
        return TRUE;
    }
    search->found = window;
    return FALSE;
}

} // namespace

ProgramRun::ProgramRun(const std::wstring &program, const wchar_t *variable,
                       const std::wstring &value) {
    // The child inherits the driver's environment as it stands when it is created.
    SetEnvironmentVariableW(variable, value.empty() ? nullptr : value.c_str());
    std::wstring commandLine = L"\"" + program + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    started_ = CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                              nullptr, nullptr, &startup, &process_) != 0;
    SetEnvironmentVariableW(variable, nullptr);
}

ProgramRun::~ProgramRun() {
    if (!started_) {
        return;
    }
    if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
        TerminateProcess(process_.hProcess, 1);
        WaitForSingleObject(process_.hProcess, INFINITE);
    }
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
}

bool ProgramRun::Started() const {
    return started_;
}

DWORD ProgramRun::ProcessId() const {
    return process_.dwProcessId;
}

bool ProgramRun::Ended(DWORD &exitCode) const {
    return WaitForEnd(0, exitCode);
}

bool ProgramRun::WaitForEnd(DWORD milliseconds, DWORD &exitCode) const {
    if (WaitForSingleObject(process_.hProcess, milliseconds) != WAIT_OBJECT_0) {
        return false;
    }
    GetExitCodeProcess(process_.hProcess, &exitCode);
    return true;
}

HWND ProgramRun::FindWindowNamed(const std::string &className, const std::string &title) const {
    WindowSearch search{process_.dwProcessId, className.c_str(), &title, nullptr};
    EnumWindows(&MatchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND ProgramRun::FindBox() const {
    WindowSearch search{process_.dwProcessId, "#32770", nullptr, nullptr};
    EnumWindows(&MatchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void PressOk(HWND box) {
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
}
