// The ImageHeader of a test program: the kernel library, its own constant segment, no window
// templates and no DLL commands.
#include "tests/support/test_program_image.h"

const ImageHeader ProgramImageHeader = TestProgramImageHeader(1000);
