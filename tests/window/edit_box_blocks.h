// Edit box property blocks for the tests, written field by field in block order, and the specs
// of edit box units.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tests/window/template_builder.h"
#include "window/units/edit_box/edit_box_unit.h"

// A block of the given version (2 writes all 21 fields, 0 and 1 leave the two names out).
std::vector<uint8_t> EditBoxBlock(const EditBoxProperties &properties, uint32_t version = 2);
// A 60-byte font record of face and height, weight 400.
std::vector<uint8_t> FontRecord(const std::string &face, int32_t height);
// An edit box unit with a tab stop (flags 5) at the given place.
UnitSpec EditBoxSpec(uint32_t unitId, const std::string &name, int32_t left, int32_t top,
                     int32_t width, int32_t height, std::vector<uint8_t> block = {},
                     std::vector<std::pair<int32_t, const void *>> bindings = {});
