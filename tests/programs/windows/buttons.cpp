// Test program: a window with two buttons. A click on "改标题" writes the window's title through
// service slot 5 ("已点击1", then "已点击2"); a click on "退出" ends the program with code 7.
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

const LibraryRecord *const kLibraries[] = {&KernelLibraryRecord};

uint32_t gClicks = 0;

} // namespace

const ImageHeader ProgramImageHeader = {
    3,
    0,
    3000,
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

extern "C" uint32_t RetitleWindow() {
    ++gClicks;
    const uint32_t title = gClicks == 1   ? Constant::ClickedOnce
                           : gClicks == 2 ? Constant::ClickedTwice
                                          : Constant::ClickedMore;
    ProgramCall::WriteUnitProperty(kWindowId, 0, kTitleProperty, kWholeValue,
                                   reinterpret_cast<uint32_t>(ConstantText(title)), 0);
    return 0;
}

extern "C" uint32_t ExitWithSeven() {
    ProgramCall::ExitProgram(7);
}

extern "C" uint32_t ProgramEntry() {
    ProgramCall::InitializeRuntime();
    ProgramCall::LoadStartWindow(kWindowId);
    ProgramCall::RunMessageLoop();
    return 0;
}
