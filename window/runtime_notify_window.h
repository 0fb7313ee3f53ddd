// The window engine's codes of RuntimeNotify: unit-type look-up, framework objects, idle
// callbacks, unit look-up, event firing, message pumping and the shared utilities.
#pragma once

#include <cstdint>

// Answers one code (the codes are listed in runtime/runtime_notify.h); the codes of facilities
// this program does not carry answer 0.
int32_t WindowEngineNotify(int32_t code, uint32_t argument1, uint32_t argument2);
