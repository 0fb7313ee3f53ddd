// The window test programs' title write and their start: load the window, run the loop.
#include "tests/programs/windows/window_program.h"

#include "program_constants.h"
#include "runtime/program_calls.h"
#include "runtime/program_entry.h"

namespace {

constexpr int32_t kTitleProperty = 8;

} // namespace

void SetWindowTitle(uint32_t constant) {
    ProgramCall::WriteUnitProperty(kWindowId, 0, kTitleProperty, kWholeValue,
                                   reinterpret_cast<uint32_t>(ConstantText(constant)), 0);
}

extern "C" uint32_t ProgramEntry() {
    ProgramCall::InitializeRuntime();
    ProgramCall::LoadStartWindow(kWindowId);
    ProgramCall::RunMessageLoop();
    return 0;
}
