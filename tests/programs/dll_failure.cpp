// Test program: declares DLL commands that cannot be bound or that are declared with the wrong
// argument count, and calls the one ZV_FAILING_COMMAND names; each build of it is one program.
#include "program_constants.h"
#include "runtime/dll_command_call.h"
#include "runtime/program_calls.h"
#include "runtime/program_entry.h"
#include "tests/support/test_program_image.h"

namespace {

enum DllCommand : uint32_t {
    kMissingExport,      // a named library without the export
    kMissingLibrary,     // a named library that does not exist
    kNotInDefaults,      // no library named, and no default library has the export
    kWrongArgumentCount, // lstrlenA takes one word; the program pushes two
    kListsTooLarge       // the header declares more commands than the lists can hold
};
constexpr uint32_t kDllCommandCount = 4;
// Four bytes per command in each list: 2147483584 bytes, more than a 32-bit process can have.
constexpr uint32_t kImpossibleCommandCount = 0x1FFFFFF0;

const char *const kLibraryNames[kDllCommandCount] = {"kernel32.dll", "zv_absent_library.dll", "",
                                                     "kernel32.dll"};
const char *const kExportNames[kDllCommandCount] = {"ZvNoSuchExport", "Anything", "ZvNoSuchExport",
                                                    "lstrlenA"};

// Each call would end the program with 1 if the runtime let it return.
constexpr int32_t kReturned = 1;

} // namespace

// The lists-too-large program declares more commands than the lists can hold.
const ImageHeader ProgramImageHeader = [] {
    ImageHeader header = TestProgramImageHeader(3000, kLibraryNames, kExportNames);
    if (ZV_FAILING_COMMAND == kListsTooLarge) {
        header.dllCommandCount = kImpossibleCommandCount;
    }
    return header;
}();

extern "C" uint32_t ProgramEntry() {
    ProgramCall::InitializeRuntime();
    const uint32_t words[] = {reinterpret_cast<uint32_t>(ConstantText(Constant::Greeting)), 0};
    const uint32_t wordCount = ZV_FAILING_COMMAND == kWrongArgumentCount ? 2 : 0;
    CallDllCommandChecked(ZV_FAILING_COMMAND, wordCount, words);
    ProgramCall::ExitProgram(kReturned);
}
