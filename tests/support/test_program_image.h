// The ImageHeader of a test program, made from what sets the program apart: its identifier
// seed and either its window templates or its DLL command lists. Every test program has the
// kernel library, the constant segment generated for it and its entry table behind CodeBase.
#pragma once

#include <cstddef>
#include <cstdint>

#include "image/kernel_library.h"
#include "program_constants.h"
#include "runtime/image_layout.h"

// The label behind CodeNullRoutine in the program code; only its address is taken here.
extern "C" const uint8_t CodeBase[];

inline constexpr uint32_t kTestProgramKind = 3;
inline constexpr const LibraryRecord *kTestProgramLibraries[] = {&KernelLibraryRecord};

// Without window templates and DLL commands.
constexpr ImageHeader TestProgramImageHeader(uint32_t identifierSeed) {
    return ImageHeader{kTestProgramKind,
                       0,
                       identifierSeed,
                       CodeBase,
                       ConstantSegment,
                       kConstantSegmentSize,
                       nullptr,
                       0,
                       1,
                       kTestProgramLibraries,
                       0,
                       nullptr,
                       nullptr};
}

// With the window templates of a generated segment.
constexpr ImageHeader TestProgramImageHeader(uint32_t identifierSeed,
                                             const uint8_t *templateSegment,
                                             uint32_t templateSegmentSize) {
    ImageHeader header = TestProgramImageHeader(identifierSeed);
    header.templateSegment = templateSegment;
    header.templateSegmentSize = templateSegmentSize;
    return header;
}

// With DLL command i importing exportNames[i] from libraryNames[i].
template <size_t count>
constexpr ImageHeader TestProgramImageHeader(uint32_t identifierSeed,
                                             const char *const (&libraryNames)[count],
                                             const char *const (&exportNames)[count]) {
    ImageHeader header = TestProgramImageHeader(identifierSeed);
    header.dllCommandCount = count;
    header.dllLibraryNames = libraryNames;
    header.dllExportNames = exportNames;
    return header;
}
