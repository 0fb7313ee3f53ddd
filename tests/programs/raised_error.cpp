// Test program: makes the runtime report one error, as ZV_RAISE says:
//   "report N"        program code's own check reports index N through ReportError
//   "element N"       program code reads element N of a one-element array (checked access)
//   "selection N"     program code selects value N (0-based) of three (checked selection)
//   "start-window N"  program code loads window N, which its image does not have, at start
//   "property N"      program code reads property 0 of the window N itself, not loaded
//   "notify N"        library code calls RuntimeNotify code N: 2027 reports a text of its own,
//                     2028 ends the program with code 9
// Any other value ends the program with 2, which no steps file expects.
#include <windows.h>

#include <cstdio>
#include <string_view>

#include "image/kernel_library.h"
#include "runtime/program_calls.h"
#include "runtime/program_entry.h"
#include "tests/support/exit_routine_box.h"
#include "values/program_conventions.h"

namespace {

constexpr int32_t kNotRaised = 2;
constexpr int32_t kSelectionCount = 3;
constexpr uint32_t kLibraryExitCode = 9;
// An array block: one dimension of one 4-byte element.
constexpr uint32_t kOneElementArray[] = {1, 1, 42};

// What library code does with the RuntimeNotify entry the runtime handed it at start-up.
void NotifyAsLibrary(int32_t code) {
    using Notify = int32_t(__attribute__((stdcall)) *)(int32_t, uint32_t, uint32_t);
    const auto notify = reinterpret_cast<Notify>(KernelLibraryRuntimeCallback());
    const uint32_t argument =
        code == 2027 ? reinterpret_cast<uint32_t>("支持库报告的错误") : kLibraryExitCode;
    notify(code, argument, 0);
}

} // namespace

extern "C" uint32_t ProgramEntry() {
    ProgramCall::InitializeRuntime();
    RememberMainThread();
    ProgramCall::RegisterExitRoutine(&ShowExitRoutineBox);
    char request[32] = {};
    char way[16] = {};
    int32_t number = 0;
    const DWORD length = GetEnvironmentVariableA("ZV_RAISE", request, sizeof request);
    if (length > 0 && length < sizeof request &&
        std::sscanf(request, "%15s %i", way, &number) == 2) {
        const std::string_view asked = way;
        if (asked == "report") {
            ProgramCall::ReportError(number);
        } else if (asked == "element") {
            CheckedElementAddress(kOneElementArray, number, sizeof(uint32_t));
        } else if (asked == "selection") {
            CheckedSelectionIndex(number, kSelectionCount);
        } else if (asked == "start-window") {
            ProgramCall::LoadStartWindow(static_cast<uint32_t>(number));
        } else if (asked == "property") {
            ProgramCall::ReadUnitProperty(static_cast<uint32_t>(number), 0, 0, -1);
        } else if (asked == "notify") {
            NotifyAsLibrary(number);
        }
    }
    ProgramCall::ExitProgram(kNotRaised);
}
