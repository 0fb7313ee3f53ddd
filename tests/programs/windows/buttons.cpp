// Test program: a window with two buttons. A click on "改标题" writes the window's title through
// service slot 5 ("已点击1", then "已点击2"); a click on "退出" ends the program with code 7
// (both handlers in retitle_handlers.cpp).
#include "image/window/window_template_segment.h"
#include "tests/support/test_program_image.h"

const ImageHeader ProgramImageHeader =
    TestProgramImageHeader(3000, kWindowTemplateSegment, kWindowTemplateSegmentSize);
