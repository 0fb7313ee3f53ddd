// What the runtime core asks of the window engine: loading the templates at start-up, loading
// the start-up window, whether any window lives, the windows' idle event and the release of all
// windows at shutdown.
#pragma once

#include <cstdint>

#include "runtime/growable_buffer.h"

struct ImageHeader;

// Reads the header's template segment into the WindowCollection; a segment of size 0 holds no
// windows. An unreadable segment is reported and ends the program.
void LoadWindowTemplates(const ImageHeader &header);
// Loads a window as a non-modal window without parent; false when its template is missing or
// loading fails.
bool LoadWindowNonModal(uint32_t windowId);
// Whether any loaded window still has a live window handle.
bool AnyLoadedWindowAlive();
// Raises the idle event of every live window not in doneWindows with elapsed milliseconds;
// windows that ask for nothing more are added to doneWindows. True when any asked for more.
bool RaiseWindowIdleEvents(uint32_t elapsedMilliseconds, GrowableBuffer &doneWindows);
// Releases every loaded window and every template.
void ReleaseAllWindows();
