// The wiring of the test executables over the real runtime: GoogleTest's main runs instead of
// the process entry, so the wiring's routines are handed down here, before any test runs.
#include "wiring/connect_layers.h"

namespace {

[[maybe_unused]] const bool layersConnected = (ConnectLayers(), true);

} // namespace
