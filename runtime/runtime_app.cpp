// The RuntimeApp object: construction, the framework overrides and static destruction.
#include "runtime/runtime_app.h"

#include "runtime/program_entry.h"
#include "runtime/program_routine_call.h"
#include "runtime/wiring_routines.h"

namespace {

RuntimeApp theRuntimeApp;

std::string ModuleDirectory() {
    char path[MAX_PATH + 1];
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    const std::string full(path, length < MAX_PATH ? length : MAX_PATH);
    const size_t slash = full.find_last_of('\\');
    return slash == std::string::npos ? std::string() : full.substr(0, slash + 1);
}

} // namespace

RuntimeApp &Runtime() {
    return theRuntimeApp;
}

RuntimeApp::RuntimeApp() {
    InitializeCriticalSection(&auxiliaryLock);
}

RuntimeApp::~RuntimeApp() {
    // Everything the first shutdown released is already empty, so this releases nothing twice.
    Wiring().shutdown(0);
    DeleteCriticalSection(&auxiliaryLock);
}

BOOL RuntimeApp::InitInstance() {
    moduleDirectory = ModuleDirectory();
    // The program's code may change any register: it is called like every other program routine.
    return CallProgramRoutine(reinterpret_cast<uint32_t>(&ProgramEntry));
}

BOOL RuntimeApp::OnIdle(LONG idleCount) {
    if (idleCount == 0) {
        frameworkIdlePhase = true;
        idlePeriodStart = GetTickCount();
        idleDoneWindows.Free();
    }
    if (frameworkIdlePhase) {
        frameworkIdlePhase = CWinApp::OnIdle(idleCount) != FALSE;
        return TRUE;
    }
    if (idleCount < 2) {
        return TRUE;
    }
    return Wiring().raiseIdleEvents(GetTickCount() - idlePeriodStart, idleDoneWindows);
}

int RuntimeApp::ExitInstance() {
    Wiring().shutdown(0);
    return CWinApp::ExitInstance();
}
