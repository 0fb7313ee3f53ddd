// The routines the core and the window engine call back into: shutdown, the message loop and
// the window engine's idle events (which the core's idle processing raises).
#include "wiring/connect_layers.h"

#include "runtime/wiring_routines.h"
#include "window/window_engine.h"
#include "wiring/runtime_lifecycle.h"

void ConnectLayers() {
    HandDownWiringRoutines(
        WiringRoutines{&RuntimeShutdown, &RunMessageLoopMode, &RaiseWindowIdleEvents});
}
