// The records of a program image: the ImageHeader, the support library's LibraryRecord and its
// data type descriptors. Address fields hold real addresses of the loaded image (4 bytes each).
#pragma once

#include <cstdint>

#include "runtime/argument_record.h"

// notify(message, argument1, argument2), the callee removing the arguments.
using LibraryNotifyRoutine = int32_t(__attribute__((stdcall)) *)(int32_t message,
                                                                 uint32_t argument1,
                                                                 uint32_t argument2);

// Library notification messages sent by the runtime.
inline constexpr int32_t kLibraryNotifyStartup = 1;
inline constexpr int32_t kLibraryNotifyShutdown = 6;
inline constexpr int32_t kLibraryNotifyTypeEvent = 8;
inline constexpr int32_t kLibraryNotifyUnhandled = -1;

// One property of a unit type: texts (empty in this program), its PropertyType, state bits and
// the text of its pick list.
struct PropertyTableEntry {
    const char *name;
    const char *englishName;
    const char *description;
    uint16_t type;
    uint16_t state;
    const char *pickList;
};

// A unit type's operations by code (create, set, save, get ...), or null when it lacks one.
using UnitInterface = void *(*)(int32_t operationCode);

// One data type of a support library: its names, flags, property table and, for unit types,
// the UnitInterface.
struct UnitTypeDescriptor {
    const char *name;
    const char *englishName;
    const char *description;
    uint32_t reserved1[2];
    uint32_t flags;
    uint32_t reserved2[3];
    uint32_t propertyCount;
    const PropertyTableEntry *properties;
    UnitInterface unitInterface;
    uint32_t reserved3[2];
};

struct LibraryRecord {
    uint32_t formatWord;
    const char *identifier; // 32 hexadecimal digits
    uint32_t versionNumbers[7];
    const char *name;
    uint32_t word40;
    const char *text44;
    uint32_t flags;
    const char *texts52[8];
    uint32_t dataTypeCount;
    const UnitTypeDescriptor *dataTypes;
    uint32_t count92;
    const void *list96;
    uint32_t commandCount;
    const void *address104;
    const KernelCommand *commands;
    const void *address112;
    const void *address116;
    LibraryNotifyRoutine notify;
};

struct ImageHeader {
    uint32_t programKind;
    uint32_t reserved;
    uint32_t identifierSeed;
    const void *codeBase;
    const uint8_t *constantSegment;
    uint32_t constantSegmentSize;
    const uint8_t *templateSegment;
    uint32_t templateSegmentSize;
    uint32_t libraryCount;
    const LibraryRecord *const *libraries;
    uint32_t dllCommandCount;
    const char *const *dllLibraryNames;
    const char *const *dllExportNames;
};

#if UINTPTR_MAX == 0xFFFFFFFF
static_assert(sizeof(PropertyTableEntry) == 20, "property table entries are 20 bytes");
static_assert(sizeof(UnitTypeDescriptor) == 56, "data type descriptors are 56 bytes");
static_assert(sizeof(LibraryRecord) == 124, "the library record ends with LibraryNotify at 120");
static_assert(sizeof(ImageHeader) == 52, "the image header is thirteen words");
#endif

// The image of the program being run: each program (the downloader, each test program) links
// exactly one definition.
extern const ImageHeader ProgramImageHeader;
