// InitializeRuntime: start-up from the program's ImageHeader, in its fixed order.
#include <ole2.h>
#include <windows.h>

#include <cstdint>

#include "runtime/error_report.h"
#include "runtime/heap.h"
#include "runtime/image_layout.h"
#include "runtime/program_path.h"
#include "runtime/runtime_app.h"
#include "runtime/runtime_notify.h"
#include "window/window_engine.h"
#include "wiring/runtime_lifecycle.h"

extern "C" void CodeNullRoutine();

namespace {

constexpr DWORD kExecutablePathBytes = 260;

// A list that cannot be made is a memory failure of start-up, reported like any other: without
// it the program would fail later, at its first DLL command, with a misleading binding report.
void CopyPointerList(GrowableBuffer &list, const void *const *pointers, uint32_t count) {
    list.Free();
    if (count == 0) {
        return;
    }
    if (count > UINT32_MAX / 4) {
        ReportMemoryFailure(UINT32_MAX);
    }
    if (list.Resize(count * 4) == nullptr) {
        ReportMemoryFailure(count * 4);
    }
    for (uint32_t i = 0; i < count; ++i) {
        list.SetWordAt(i, pointers == nullptr ? 0 : reinterpret_cast<uint32_t>(pointers[i]));
    }
}

void SetProgramDirectory(RuntimeApp &app) {
    char path[kExecutablePathBytes + 1] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, kExecutablePathBytes);
    const ProgramPath split =
        SplitExecutablePath(path, length < kExecutablePathBytes ? length : kExecutablePathBytes);
    app.programDirectory = split.directory;
    app.executableName = split.fileName;
    // An unset current directory is not an error: the program goes on from where it is.
    SetCurrentDirectoryA(app.programDirectory.c_str());
}

void HandDllCommandsToBinder(RuntimeApp &app, uint32_t count) {
    app.dllCommands = DllCommandLists{
        count,
        reinterpret_cast<const char *const *>(app.dllLibraryNames.Data()),
        reinterpret_cast<const char *const *>(app.dllExportNames.Data()),
        reinterpret_cast<HMODULE *>(app.dllModules.Data()),
        reinterpret_cast<FARPROC *>(app.dllEntries.Data()),
        app.programDirectory.c_str(),
        app.moduleDirectory.c_str(),
    };
    UseDllCommandLists(&app.dllCommands);
}

void NotifyLibrariesOfStartup(RuntimeApp &app, const ImageHeader &header) {
    for (uint32_t i = 0; i < header.libraryCount; ++i) {
        const LibraryRecord *library = header.libraries[i];
        if (library != nullptr && library->notify != nullptr) {
            library->notify(kLibraryNotifyStartup, reinterpret_cast<uint32_t>(&RuntimeNotify), 0);
        }
    }
    CopyPointerList(app.libraries, reinterpret_cast<const void *const *>(header.libraries),
                    header.libraryCount);
    CopyPointerList(app.libraryValueSlots, nullptr, header.libraryCount);
}

} // namespace

void InitializeRuntime() {
    RuntimeApp &app = Runtime();
    const ImageHeader &header = ProgramImageHeader;

    app.heap = GetProcessHeap();
    app.programKind = header.programKind;
    app.reservedWord = header.reserved;
    app.nextUniqueId = header.identifierSeed + 1;
    if (!app.oleInitialized) {
        OleInitialize(nullptr);
        app.oleInitialized = true;
    }
    SetProgramDirectory(app);
    for (ProgramRoutine &hook : app.codeHooks) {
        hook = &CodeNullRoutine;
    }
    app.hiddenOwner.Create(GetModuleHandleA(nullptr));
    app.mainThreadId = GetCurrentThreadId();
    if (header.constantSegmentSize > 0) {
        SetConstantSegment(header.constantSegment, header.constantSegmentSize);
    }
    if (header.dllCommandCount > 0) {
        CopyPointerList(app.dllLibraryNames,
                        reinterpret_cast<const void *const *>(header.dllLibraryNames),
                        header.dllCommandCount);
        CopyPointerList(app.dllExportNames,
                        reinterpret_cast<const void *const *>(header.dllExportNames),
                        header.dllCommandCount);
        CopyPointerList(app.dllModules, nullptr, header.dllCommandCount);
        CopyPointerList(app.dllEntries, nullptr, header.dllCommandCount);
        HandDllCommandsToBinder(app, header.dllCommandCount);
    }
    if (header.libraryCount > 0) {
        NotifyLibrariesOfStartup(app, header);
    }
    LoadWindowTemplates(header);
}
