// Steps that compare a program's thread count, handle count and committed private bytes with a
// mark: what a program holds once the work of its clicks has wound down.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>

// Runs step when it is one of these; nullopt otherwise. take hands out the step's next word
// (null when there is none). Prints a failure as the driver does.
//   process-mark            notes the program's threads, handles and committed private bytes,
//                           and prints them
//   process-settles MS THREADS HANDLES KIB   within MS milliseconds (read every 500 ms), the
//                           three are at most THREADS threads, HANDLES handles and KIB KiB above
//                           the mark; prints them and how long it took
std::optional<bool> RunProcessFiguresStep(HANDLE process, const std::wstring &step,
                                          const std::function<const wchar_t *()> &take);
