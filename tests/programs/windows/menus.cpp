// Test program: a window with a menu. "改标题" writes the window's title through service slot 5
// ("已点击1", then "已点击2"); "启用退出" clears the disabled property of "退出", which ends the
// program with code 7 (those two handlers in retitle_handlers.cpp).
#include "image/window/window_template_segment.h"
#include "runtime/program_calls.h"
#include "tests/programs/windows/window_program.h"
#include "tests/support/test_program_image.h"

namespace {

constexpr uint32_t kExitItemId = 0x26010012;
constexpr int32_t kMenuDisabledProperty = 2;

} // namespace

const ImageHeader ProgramImageHeader =
    TestProgramImageHeader(3000, kWindowTemplateSegment, kWindowTemplateSegmentSize);

extern "C" uint32_t EnableExit() {
    ProgramCall::WriteUnitProperty(kWindowId, kExitItemId, kMenuDisabledProperty, kWholeValue, 0,
                                   0);
    return 0;
}
