// The worker that loads the DLL commands' system libraries ahead of their first call and runs the
// components' preparations, and the release of what it loaded.
#include "runtime/library_warm_up.h"

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

#include "runtime/dll_system_library.h"

namespace {

std::atomic<bool> g_started{false};
// Written during static initialisation, read by the worker, which starts later.
void (*g_preparations[kMaxWarmUpPreparations])() = {};
int g_preparationCount = 0;

// The modules the worker loaded, written by the worker and taken by the release on the main
// thread. Once released, the worker frees what it still loads itself.
struct LoadedModules {
    std::mutex guard;
    std::vector<HMODULE> modules;
    bool released = false;
};

LoadedModules &Loaded() {
    static LoadedModules loaded;
    return loaded;
}

DWORD WINAPI LoadLibraries(void *parameter) {
    auto *names = static_cast<std::vector<std::string> *>(parameter);
    LoadedModules &loaded = Loaded();
    for (const std::string &name : *names) {
        // The handle is kept: the library stays mapped for the binder's own load to find.
        HMODULE module = nullptr;
        if (!LoadSystemLibrary(name.c_str(), &module) || module == nullptr) {
            continue;
        }
        bool kept = false;
        {
            std::lock_guard<std::mutex> lock(loaded.guard);
            if (!loaded.released) {
                loaded.modules.push_back(module);
                kept = true;
            }
        }
        if (!kept) {
            FreeLibrary(module);
            break;
        }
    }
    delete names;
    for (int i = 0; i < g_preparationCount; ++i) {
        {
            std::lock_guard<std::mutex> lock(loaded.guard);
            if (loaded.released) {
                break; // the program is ending: nothing will use what a preparation readies
            }
        }
        g_preparations[i]();
    }
    return 0;
}

} // namespace

void AddWarmUpPreparation(void (*prepare)()) {
    if (prepare != nullptr && g_preparationCount < kMaxWarmUpPreparations) {
        g_preparations[g_preparationCount++] = prepare;
    }
}

void StartLibraryWarmUp(const DllCommandLists &lists) {
    if ((lists.count == 0 && g_preparationCount == 0) || g_started.exchange(true)) {
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
    HANDLE worker = names->empty() && g_preparationCount == 0
                        ? nullptr
                        : CreateThread(nullptr, 0, &LoadLibraries, names, 0, nullptr);
    if (worker == nullptr) {
        delete names;
        return;
    }
    CloseHandle(worker);
}

void ReleaseLibraryWarmUp() {
    LoadedModules &loaded = Loaded();
    std::vector<HMODULE> modules;
    {
        std::lock_guard<std::mutex> lock(loaded.guard);
        loaded.released = true;
        modules.swap(loaded.modules);
    }
    // Freed outside the lock: the worker may be inside the loader, and must not wait on us.
    for (HMODULE module : modules) {
        FreeLibrary(module);
    }
}
