// Test program: calls two DLL commands of its own image through service slot 1, one from a
// named library and one found by the default search, and ends with a code made of both results.
#include <windows.h>

#include "program_constants.h"
#include "runtime/dll_command_call.h"
#include "runtime/program_calls.h"
#include "runtime/program_entry.h"
#include "tests/support/test_program_image.h"

namespace {

constexpr uint32_t kDllCommandCount = 2;
constexpr uint32_t kTextLength = 0; // lstrlenA from "kernel32.dll"
constexpr uint32_t kMulDiv = 1;     // MulDiv, no library named

const char *const kLibraryNames[kDllCommandCount] = {"kernel32.dll", ""};
const char *const kExportNames[kDllCommandCount] = {"lstrlenA", "MulDiv"};

} // namespace

const ImageHeader ProgramImageHeader = TestProgramImageHeader(2000, kLibraryNames, kExportNames);

extern "C" uint32_t ProgramEntry() {
    ProgramCall::InitializeRuntime();
    const uint32_t text[] = {reinterpret_cast<uint32_t>(ConstantText(Constant::Greeting))};
    const uint32_t length = CallDllCommandChecked(kTextLength, 1, text);
    const uint32_t factors[] = {6, 7, 1};
    const uint32_t product = CallDllCommandChecked(kMulDiv, 3, factors);
    // "测试" is 4 bytes in code page 936 and 6 * 7 / 1 is 42: the program ends with 442.
    ProgramCall::ExitProgram(static_cast<int32_t>(length * 100 + product));
}
