// Test program: a window with a menu. "改标题" writes the window's title through service slot 5
// ("已点击1", then "已点击2"); "启用退出" clears the disabled property of "退出", which ends the
// program with code 7.
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
constexpr uint32_t kExitItemId = 0x26010012;
constexpr int32_t kMenuDisabledProperty = 2;

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

extern "C" uint32_t EnableExit() {
    ProgramCall::WriteUnitProperty(kWindowId, kExitItemId, kMenuDisabledProperty, kWholeValue, 0,
                                   0);
    return 0;
}

extern "C" uint32_t ProgramEntry() {
    ProgramCall::InitializeRuntime();
    ProgramCall::LoadStartWindow(kWindowId);
    ProgramCall::RunMessageLoop();
    return 0;
}
