// The two handlers of the buttons and menus programs: "改标题" retitles the window "已点击1",
// then "已点击2", then "已点击多次"; "退出" ends the program with code 7.
#include "program_constants.h"
#include "runtime/program_calls.h"
#include "tests/programs/windows/window_program.h"

namespace {

uint32_t gClicks = 0;

} // namespace

extern "C" uint32_t RetitleWindow() {
    ++gClicks;
    SetWindowTitle(gClicks == 1   ? Constant::ClickedOnce
                   : gClicks == 2 ? Constant::ClickedTwice
                                  : Constant::ClickedMore);
    return 0;
}

extern "C" uint32_t ExitWithSeven() {
    ProgramCall::ExitProgram(7);
}
