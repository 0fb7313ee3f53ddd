// The downloader's ImageHeader: its constant and template segments, its library and its DLL
// command lists.
#include "image/kernel_library.h"
#include "image/window/window_template_segment.h"
#include "program_constants.h"
#include "runtime/image_layout.h"

extern "C" void CodeBase();

namespace {

constexpr uint32_t kProgramKind = 3;
constexpr uint32_t kIdentifierSeed = 90372;
constexpr uint32_t kDllCommandCount = 12;

const LibraryRecord *const kLibraries[] = {&KernelLibraryRecord};

const char *const kDllLibraryNames[kDllCommandCount] = {
    "wininet.dll", "wininet.dll", "wininet.dll", "wininet.dll", "wininet.dll", "wininet.dll",
    "wininet.dll", "wininet.dll", "ole32.dll",   "ole32.dll",   "wininet.dll", "wininet.dll",
};

// Entries 4 and 5 name the same export, declared with different argument types.
const char *const kDllExportNames[kDllCommandCount] = {
    "InternetOpenA",    "InternetCloseHandle", "InternetConnectA",   "HttpOpenRequestA",
    "HttpSendRequestA", "HttpSendRequestA",    "InternetReadFile",   "HttpQueryInfoA",
    "CoInitialize",     "CoUninitialize",      "InternetSetOptionA", "InternetQueryDataAvailable",
};

} // namespace

const ImageHeader ProgramImageHeader = {
    kProgramKind,
    0,
    kIdentifierSeed,
    reinterpret_cast<const void *>(&CodeBase),
    ConstantSegment,
    kConstantSegmentSize,
    kWindowTemplateSegment,
    kWindowTemplateSegmentSize,
    1,
    kLibraries,
    kDllCommandCount,
    kDllLibraryNames,
    kDllExportNames,
};
