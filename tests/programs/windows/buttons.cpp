// Test program: a window with two buttons. A click on "改标题" writes the window's title through
// service slot 5 ("已点击1", then "已点击2"); a click on "退出" ends the program with code 7
// (both handlers in retitle_handlers.cpp).
// With ZV_TIMER_DURING_ERROR set, a thread timer raises a runtime error at its first tick, once
// the message loop runs, and then, while the error's box is up, the click event of "退出" every
// 10 ms, as a library unit's timer would: none may reach the handler.
#include <windows.h>

#include "image/kernel_library.h"
#include "image/window/window_template_segment.h"
#include "runtime/program_calls.h"
#include "tests/programs/windows/window_program.h"
#include "tests/support/test_program_image.h"
#include "window/event_dispatch.h"

const ImageHeader ProgramImageHeader =
    TestProgramImageHeader(3000, kWindowTemplateSegment, kWindowTemplateSegmentSize);

namespace {

constexpr uint32_t kExitButtonId = 0x16010003;
constexpr int32_t kNotifyFireEvent = 2008;
constexpr UINT kTimerMilliseconds = 10;
constexpr int32_t kNumericDataMissing = 2;

bool gErrorRaised = false;

void CALLBACK RaiseErrorThenClicks(HWND, UINT, UINT_PTR, DWORD) {
    if (!gErrorRaised) {
        gErrorRaised = true;
        ProgramCall::ReportError(kNumericDataMissing);
        return;
    }
    using Notify = int32_t(__attribute__((stdcall)) *)(int32_t, uint32_t, uint32_t);
    EventRecord click = {kWindowId, kExitButtonId, 0, 0, {}, 0, 0};
    reinterpret_cast<Notify>(KernelLibraryRuntimeCallback())(kNotifyFireEvent,
                                                             reinterpret_cast<uint32_t>(&click), 0);
}

// Set before the program starts; a thread timer first fires in the message loop.
const bool gTimerSet = GetEnvironmentVariableA("ZV_TIMER_DURING_ERROR", nullptr, 0) > 0 &&
                       SetTimer(nullptr, 0, kTimerMilliseconds, &RaiseErrorThenClicks) != 0;

} // namespace
