// Test program: lies in a folder beside a planted "wininet.dll" and a "zv_beside.dll", both of
// which answer InternetAttemptConnect with 7 where the system's wininet.dll answers 0. It calls
// the export through three DLL commands: "wininet.dll", "WININET" (no extension, other case)
// and "zv_beside.dll", and ends with the three answers as the digits of its exit code: 7 when
// the first two came from the system and the third from the library beside the program.
#include "runtime/dll_command_call.h"
#include "runtime/program_calls.h"
#include "runtime/program_entry.h"
#include "tests/support/test_program_image.h"

namespace {

constexpr uint32_t kDllCommandCount = 3;

const char *const kLibraryNames[kDllCommandCount] = {"wininet.dll", "WININET", "zv_beside.dll"};
const char *const kExportNames[kDllCommandCount] = {
    "InternetAttemptConnect", "InternetAttemptConnect", "InternetAttemptConnect"};

} // namespace

const ImageHeader ProgramImageHeader = TestProgramImageHeader(2000, kLibraryNames, kExportNames);

extern "C" uint32_t ProgramEntry() {
    ProgramCall::InitializeRuntime();
    const uint32_t reserved[] = {0};
    int32_t answers = 0;
    for (uint32_t command = 0; command < kDllCommandCount; ++command) {
        answers = answers * 10 + static_cast<int32_t>(CallDllCommandChecked(command, 1, reserved));
    }
    ProgramCall::ExitProgram(answers);
}
