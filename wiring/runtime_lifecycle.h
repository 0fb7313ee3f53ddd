// Start-up, the message loop and shutdown of the runtime: the entry points that program code
// reaches through the service and internal command tables, and their helpers.
#pragma once

#include <windows.h>

#include <cstdint>

// Internal command 6: start-up from the program's ImageHeader.
void InitializeRuntime();
// Service slot 10: runs the message loop unless no loaded window is alive.
void RunMessageLoop();
// The message loop. Mode 0 runs until the quit message; mode 1 (a modal window's nested loop)
// also returns once the modal-window field has been cleared.
void RunMessageLoopMode(int mode);
// Service slot 11: loads the start-up window, or reports "载入启动窗口失败".
void LoadStartWindow(uint32_t windowId);

// The orderly shutdown every exit path goes through; safe to run more than once. From a thread
// other than the main thread the request is carried out by the main thread.
void RuntimeShutdown(int32_t exitCode);
// Service slot 9: shutdown, then the process ends with exitCode.
[[noreturn]] void ExitProgram(int32_t exitCode);

// Idle callbacks of library code: routine(argument) runs while the queue is empty, for as long
// as window exists. Registering ignores a null or dead window, a null routine and a window
// already registered; unregistering removes the window's entry.
void RegisterIdleCallback(HWND window, uint32_t routine, uint32_t argument);
void UnregisterIdleCallback(HWND window);
// Calls the callbacks from the last to the first, dropping those whose window is gone.
void RunIdleCallbacks();
