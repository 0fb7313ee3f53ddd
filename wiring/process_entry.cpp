// The process entry of every program built on the runtime: the framework's AfxWinMain drives
// the RuntimeApp (InitInstance runs the program's ProgramEntry) once the layers are connected.
#include <windows.h>

#include "framework/app_base.h"
#include "runtime/runtime_app.h"
#include "wiring/connect_layers.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    // Names the application object so that the linker keeps it.
    Runtime();
    ConnectLayers();
    return AfxWinMain(instance);
}
