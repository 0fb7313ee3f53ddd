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
// The worker thread, kept for the release to wait on; started and released on the main thread.
HANDLE g_worker = nullptr;
// A step of the worker (one library's load, one preparation) takes milliseconds; a step that
// hangs inside the platform is left to the process's end rather than hanging the shutdown.
constexpr DWORD kWorkerStepLimitMilliseconds = 5000;
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
    g_worker = names->empty() && g_preparationCount == 0
                   ? nullptr
                   : CreateThread(nullptr, 0, &LoadLibraries, names, 0, nullptr);
    if (g_worker == nullptr) {
        delete names;
    }
}

void ReleaseLibraryWarmUp() {
    LoadedModules &loaded = Loaded();
    {
        std::lock_guard<std::mutex> lock(loaded.guard);
        loaded.released = true;
    }
    // The worker ends after the step it is in. Until it has, it may be inside the loader or
    // inside OLE Automation's type library code, which the shutdown goes on to unload and
    // uninitialise and the process's end would cut off halfway: a thread of ours is never
    // ended from outside.
    if (g_worker != nullptr) {
        WaitForSingleObject(g_worker, kWorkerStepLimitMilliseconds);
        CloseHandle(g_worker);
        g_worker = nullptr;
    }
    std::vector<HMODULE> modules;
    {
        std::lock_guard<std::mutex> lock(loaded.guard);
        modules.swap(loaded.modules);
    }
    // Freed outside the lock: a worker past its limit may still be inside the loader.
    for (HMODULE module : modules) {
        FreeLibrary(module);
    }
}
