// A program under measurement: started as its own process, its main window found by the
// download button it holds, and ended by closing that window.
#pragma once

#include <windows.h>

#include <string>

constexpr int kUrlBoxId = 100;
constexpr int kDownloadButtonId = 120;
constexpr int kOutputBoxId = 130;

struct ProgramProcess {
    PROCESS_INFORMATION process{};
    HWND window = nullptr;
};

// Starts path (a Linux path names the same file on drive Z:); false when it cannot start.
bool StartProgramProcess(const std::wstring &path, ProgramProcess &program);

// The program's visible top-level window with the download button, once its thread has
// answered a sent message (it is then ready for input); null when none appears in time.
HWND WaitForReadyMainWindow(const ProgramProcess &program);

// Closes the main window and waits for the process to end (ends it when it does not).
void EndProgramProcess(ProgramProcess &program);

std::string ControlText(HWND control);
void SetControlText(HWND control, const std::string &text);

struct ClickPage {
    std::string url;
    // How the table names it ("a 50 KiB page").
    std::string name;
    // The output box's text after a click: the three lines joined by CR LF.
    std::string expectedOutput;
};

// Empties the output box, clicks the download button (the call returns once the handler has
// run; its time goes to milliseconds when given) and checks the output; prints what it read
// when it is not the page's.
bool ClickAndCheck(const ProgramProcess &program, const ClickPage &page, double *milliseconds);
