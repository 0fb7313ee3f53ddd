// The worker that loads the DLL commands' system libraries ahead of their first call.
#include "runtime/library_warm_up.h"

#include <atomic>
#include <string>
#include <vector>

#include "runtime/dll_system_library.h"

namespace {

std::atomic<bool> g_started{false};

DWORD WINAPI LoadLibraries(void *parameter) {
    auto *names = static_cast<std::vector<std::string> *>(parameter);
    for (const std::string &name : *names) {
        // The handle is kept: the library stays mapped for the binder's own load to find.
        HMODULE module = nullptr;
        LoadSystemLibrary(name.c_str(), &module);
    }
    delete names;
    return 0;
}

} // namespace

void StartLibraryWarmUp(const DllCommandLists &lists) {
    if (lists.count == 0 || g_started.exchange(true)) {
        return;
    }
    auto *names = new std::vector<std::string>();
    for (uint32_t i = 0; i < lists.count; ++i) {
        const char *name = lists.libraryNames[i];
        if (name == nullptr || name[0] == '\0') {
            continue;
        }
        bool seen = false;
        for (const std::string &earlier : *names) {
            seen = seen || lstrcmpiA(earlier.c_str(), name) == 0;
        }
        if (!seen) {
            names->emplace_back(name);
        }
    }
    HANDLE worker =
        names->empty() ? nullptr : CreateThread(nullptr, 0, &LoadLibraries, names, 0, nullptr);
    if (worker == nullptr) {
        delete names;
        return;
    }
    CloseHandle(worker);
}
