// Test program: a window with two buttons. A click on "改标题" writes the window's title through
// service slot 5 ("已点击1", then "已点击2"); a click on "退出" ends the program with code 7.
// With ZV_TIMER_DURING_ERROR set, a timer raises the click event of "退出" every 10 ms, as a
// library unit's timer would, while a runtime error's box is up: none may reach the handler.
#include <windows.h>

#include "image/image_layout.h"
#include "image/kernel_library.h"
#include "image/window/window_template_segment.h"
#include "program_constants.h"
#include "runtime/program_calls.h"
#include "runtime/program_entry.h"
#include "window/event_dispatch.h"

extern "C" void CodeBase();

namespace {

constexpr uint32_t kWindowId = 0x52010001;
constexpr int32_t kTitleProperty = 8;
constexpr int32_t kWholeValue = -1;

const LibraryRecord *const kLibraries[] = {&KernelLibraryRecord};

constexpr uint32_t kExitButtonId = 0x16010003;
constexpr int32_t kNotifyFireEvent = 2008;
constexpr UINT kTimerMilliseconds = 10;
constexpr int32_t kNumericDataMissing = 2;

uint32_t gClicks = 0;

void CALLBACK RaiseExitClick(HWND, UINT, UINT_PTR, DWORD) {
    using Notify = int32_t(__attribute__((stdcall)) *)(int32_t, uint32_t, uint32_t);
    EventRecord click = {kWindowId, kExitButtonId, 0, 0, {}, 0, 0};
    reinterpret_cast<Notify>(KernelLibraryRuntimeCallback())(kNotifyFireEvent,
                                                             reinterpret_cast<uint32_t>(&click), 0);
}

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
    if (GetEnvironmentVariableA("ZV_TIMER_DURING_ERROR", nullptr, 0) > 0) {
        SetTimer(nullptr, 0, kTimerMilliseconds, &RaiseExitClick);
        ProgramCall::ReportError(kNumericDataMissing);
    }
    ProgramCall::RunMessageLoop();
    return 0;
}
