// The cookies a response set, read from its raw header block (lines ending in "\r\n").
#pragma once

#include "values/value_blocks.h"

// Rewrites every "Set-Cookie" in the block, in any letter case, as "Set-Cookie" (written back,
// so that the caller's later searches can be case-sensitive too), then returns the first
// name=value pair of each Set-Cookie header line, trimmed of blanks, joined by "; " in line
// order: the empty text when the response set none. Attributes (path, expiry, ...) are dropped.
Text ReadReceivedCookies(Text *responseHeaders);
