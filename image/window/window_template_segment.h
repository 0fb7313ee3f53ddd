// The program's WindowTemplateSegment, generated at build time from main_window.txt.
#pragma once

#include <cstdint>

extern const uint8_t kWindowTemplateSegment[];
extern const uint32_t kWindowTemplateSegmentSize;
