// The ImageHeader of a test program: the kernel library, its own constant segment, no window
// templates and no DLL commands.
#include "image/kernel_library.h"
#include "program_constants.h"
#include "runtime/image_layout.h"

extern "C" void CodeBase();

namespace {

constexpr uint32_t kProgramKind = 3;
constexpr uint32_t kIdentifierSeed = 1000;

const LibraryRecord *const kLibraries[] = {&KernelLibraryRecord};

} // namespace

const ImageHeader ProgramImageHeader = {
    kProgramKind,
    0,
    kIdentifierSeed,
    reinterpret_cast<const void *>(&CodeBase),
    ConstantSegment,
    kConstantSegmentSize,
    nullptr,
    0,
    1,
    kLibraries,
    0,
    nullptr,
    nullptr,
};
