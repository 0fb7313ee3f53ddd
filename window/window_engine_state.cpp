// The window engine's own state: one object for the process.
#include "window/window_engine_state.h"

WindowEngineState &EngineState() {
    static WindowEngineState state;
    return state;
}
