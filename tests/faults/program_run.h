// One run of a program under test, watched from outside through its windows: start it with an
// environment variable set, find its top-level window and its message boxes, read and set
// texts, and wait for its end. Every wait is bounded.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

class ProgramRun {
public:
    // Starts program with variable set to value for it (an empty value removes the variable).
    ProgramRun(const std::wstring &program, const wchar_t *variable, const std::wstring &value);
    // Ends the program if it still runs.
    ~ProgramRun();
    ProgramRun(const ProgramRun &) = delete;
    ProgramRun &operator=(const ProgramRun &) = delete;

    bool Started() const;
    DWORD ProcessId() const;
    // True once the program has ended; its exit code then.
    bool Ended(DWORD &exitCode) const;
    // Waits up to milliseconds for the end; false if the program still runs.
    bool WaitForEnd(DWORD milliseconds, DWORD &exitCode) const;

    // The program's visible top-level window of this class and title (code page 936), or null.
    HWND FindWindowNamed(const std::string &className, const std::string &title) const;
    // A visible message box of the program, or null.
    HWND FindBox() const;

private:
    PROCESS_INFORMATION process_{};
    bool started_ = false;
};

// Presses the OK button of a message box, as a user would.
void PressOk(HWND box);
