// Reading the window template segment: the id table, then one WindowRecord per window.
#pragma once

#include <cstdint>

#include "window/window_template.h"

// The windows of a segment in template order. A size of 0 reads nothing. Throws
// ArchiveException on any read past the segment's end, a malformed unit list or a failed
// allocation; never reads outside [segment, segment + size).
WindowTemplateList ReadWindowTemplates(const void *segment, uint32_t size);

// Start-up: reads the segment and relocates every handler against codeBase. Any failure is
// reported as "载入窗口模板数据段出错!" (code 0) and ends the process.
WindowTemplateList LoadWindowTemplates(const void *segment, uint32_t size, uint32_t codeBase);
