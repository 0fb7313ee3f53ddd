// Hands the wiring's routines down to the layers below it, which call them without including
// or linking the wiring.
#pragma once

// Called once when the process starts, before any program code runs.
void ConnectLayers();
