// DLL command binding: system libraries first, then the default-library search or the program
// and module folders, ordinals, caching.
#include "runtime/dll_binding.h"

#include <cctype>
#include <cstdio>

#include "runtime/dll_system_library.h"
#include "runtime/error_report.h"

namespace {

// Searched in this order when a command names no library.
constexpr const char *kDefaultLibraries[] = {"Kernel32.dll", "Gdi32.dll", "User32.dll",
                                             "Advapi32.dll", "Mpr.dll",   "Shell32.dll"};
constexpr char kOrdinalMark = '#';
constexpr uint32_t kOrdinalMask = 0xFFFF;

const DllCommandLists *g_lists = nullptr;

HMODULE PlatformLoad(const char *path) {
    return LoadLibraryA(path);
}
FARPROC PlatformFind(HMODULE module, const char *exportName) {
    return GetProcAddress(module, exportName);
}
void PlatformUnload(HMODULE module) {
    FreeLibrary(module);
}
void PlatformFail(const char *message) {
    ReportRuntimeError(message, 0);
}

bool IsEmpty(const char *text) {
    return text == nullptr || text[0] == '\0';
}

// Loads a named library. A library that the system directory holds is loaded from there only: a
// file of the same name beside the program (say, one planted in a downloads folder) must not
// stand in for the system's. Any other name is looked for in the program folder, then the module
// folder, unless it holds a drive colon; then as given, which the platform searches for.
HMODULE LoadNamedLibrary(const DllCommandLists &lists, const char *name,
                         const ModuleLoader &loader) {
    HMODULE module = nullptr;
    if (loader.loadFromSystem(name, &module)) {
        return module;
    }
    const bool hasDrive = std::string_view(name).find(':') != std::string_view::npos;
    if (!hasDrive) {
        std::string path = lists.programDirectory ? lists.programDirectory : "";
        path += '\\';
        path += name;
        module = loader.load(path.c_str());
        if (module == nullptr && !IsEmpty(lists.moduleDirectory)) {
            path = lists.moduleDirectory;
            path += name;
            module = loader.load(path.c_str());
        }
    }
    if (module == nullptr) {
        module = loader.load(name);
    }
    return module;
}

} // namespace

const ModuleLoader &PlatformModuleLoader() {
    static const ModuleLoader loader{PlatformLoad, LoadSystemLibrary, PlatformFind, PlatformUnload,
                                     PlatformFail};
    return loader;
}

int32_t DllExportOrdinal(const char *exportName) {
    if (exportName == nullptr || exportName[0] != kOrdinalMark) {
        return -1;
    }
    const unsigned char *p = reinterpret_cast<const unsigned char *>(exportName) + 1;
    while (std::isspace(*p)) {
        ++p;
    }
    bool negative = false;
    if (*p == '+' || *p == '-') {
        negative = *p == '-';
        ++p;
    }
    // Unsigned arithmetic wraps instead of overflowing; only the low 16 bits count.
    uint32_t value = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        value = value * 10 + (*p - '0');
    }
    if (negative) {
        value = 0 - value;
    }
    return static_cast<int32_t>(value & kOrdinalMask);
}

std::string DllBindingFailureMessage(const char *library, const char *exportName) {
    const char *name = exportName ? exportName : "";
    std::string message;
    if (IsEmpty(library)) {
        message = "无法找到指定DLL库文件中的输出命令“";
        message += name;
    } else {
        message = "无法找到指定DLL库文件“";
        message += library;
        message += "”中的输出命令“";
        message += name;
    }
    message += "”";
    return message;
}

FARPROC BindDllCommand(const DllCommandLists &lists, uint32_t index, const ModuleLoader &loader) {
    if (index >= lists.count) {
        loader.fail(DllBindingFailureMessage(nullptr, "").c_str());
        return nullptr;
    }
    if (lists.entries[index] != nullptr) {
        return lists.entries[index];
    }
    const char *exportName = lists.exportNames[index] ? lists.exportNames[index] : "";
    const int32_t ordinal = DllExportOrdinal(exportName);
    const char *lookup = ordinal >= 0 ? MAKEINTRESOURCEA(ordinal) : exportName;
    const char *library = lists.libraryNames[index];

    HMODULE module = nullptr;
    FARPROC entry = nullptr;
    if (IsEmpty(library)) {
        for (const char *candidate : kDefaultLibraries) {
            // The default libraries are the system's; the search path would try the program's
            // folder first.
            if (!loader.loadFromSystem(candidate, &module)) {
                module = loader.load(candidate);
            }
            if (module == nullptr) {
                continue;
            }
            entry = loader.find(module, lookup);
            if (entry != nullptr) {
                break;
            }
            loader.unload(module);
            module = nullptr;
        }
    } else {
        module = LoadNamedLibrary(lists, library, loader);
        if (module != nullptr) {
            entry = loader.find(module, lookup);
        }
    }
    if (entry != nullptr) {
        lists.entries[index] = entry;
        lists.modules[index] = module;
        return entry;
    }
    if (module != nullptr) {
        loader.unload(module);
    }
    loader.fail(DllBindingFailureMessage(library, exportName).c_str());
    return nullptr;
}

void ReleaseDllCommandModules(const DllCommandLists &lists, const ModuleLoader &loader) {
    for (uint32_t i = 0; i < lists.count; ++i) {
        if (lists.modules[i] != nullptr) {
            loader.unload(lists.modules[i]);
        }
        lists.modules[i] = nullptr;
        lists.entries[i] = nullptr;
    }
}

void UseDllCommandLists(const DllCommandLists *lists) {
    g_lists = lists;
}

extern "C" FARPROC ResolveDllCommand(uint32_t index) {
    static const DllCommandLists kNoCommands{0, nullptr, nullptr, nullptr, nullptr, "", ""};
    return BindDllCommand(g_lists ? *g_lists : kNoCommands, index, PlatformModuleLoader());
}
