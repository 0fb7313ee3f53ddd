// Test program: the first close of its window is refused by event 12, which retitles the window
// "拒绝关闭"; event 1, which would retitle it "事件1", must not run then. The second close is
// allowed and, the loop having been reached, ends the program with exit code 0.
#include "image/kernel_library.h"
#include "image/window/window_template_segment.h"
#include "program_constants.h"
#include "runtime/image_layout.h"
#include "runtime/program_calls.h"
#include "runtime/program_entry.h"

extern "C" void CodeBase();

namespace {

constexpr uint32_t kWindowId = 0x52010001;
constexpr int32_t kTitleProperty = 8;
constexpr int32_t kWholeValue = -1;
// The answers of a close query.
constexpr uint32_t kRefuse = 0;
constexpr uint32_t kAllow = 1;

const LibraryRecord *const kLibraries[] = {&KernelLibraryRecord};

uint32_t gQueries = 0;

void SetTitle(uint32_t constant) {
    ProgramCall::WriteUnitProperty(kWindowId, 0, kTitleProperty, kWholeValue,
                                   reinterpret_cast<uint32_t>(ConstantText(constant)), 0);
}

} // namespace

const ImageHeader ProgramImageHeader = {
    3,
    0,
    4000,
    reinterpret_cast<const void *>(&CodeBase),
    ConstantSegment,
    kConstantSegmentSize,
    kWindowTemplateSegment,
    kWindowTemplateSegmentSize,
    1,
    kLibraries,
    0,
    nullptr,
    nullptr,
};

extern "C" uint32_t QueryClose() {
    if (++gQueries == 1) {
        SetTitle(Constant::CloseRefused);
        return kRefuse;
    }
    return kAllow;
}

extern "C" uint32_t NoteClose() {
    SetTitle(Constant::CloseEvent);
    return kAllow;
}

extern "C" uint32_t ProgramEntry() {
    ProgramCall::InitializeRuntime();
    ProgramCall::LoadStartWindow(kWindowId);
    ProgramCall::RunMessageLoop();
    return 0;
}
