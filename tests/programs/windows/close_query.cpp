// Test program: the first close of its window is refused by event 12, which retitles the window
// "拒绝关闭"; event 1, which would retitle it "事件1", must not run then. The second close is
// allowed and, the loop having been reached, ends the program with exit code 0.
#include "image/window/window_template_segment.h"
#include "program_constants.h"
#include "tests/programs/windows/window_program.h"
#include "tests/support/test_program_image.h"

namespace {

// The answers of a close query.
constexpr uint32_t kRefuse = 0;
constexpr uint32_t kAllow = 1;

uint32_t gQueries = 0;

} // namespace

const ImageHeader ProgramImageHeader =
    TestProgramImageHeader(4000, kWindowTemplateSegment, kWindowTemplateSegmentSize);

extern "C" uint32_t QueryClose() {
    if (++gQueries == 1) {
        SetWindowTitle(Constant::CloseRefused);
        return kRefuse;
    }
    return kAllow;
}

extern "C" uint32_t NoteClose() {
    SetWindowTitle(Constant::CloseEvent);
    return kAllow;
}
