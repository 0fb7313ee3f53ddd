// Label property blocks for the tests, written field by field in block order, and the specs of
// label units.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tests/window/template_builder.h"
#include "window/units/label/label_unit.h"

// A block of the given version (2 writes all 22 fields, 0 and 1 leave the two names out).
std::vector<uint8_t> LabelBlock(const LabelProperties &properties, uint32_t version = 2);
// A label unit without a tab stop (flags 1), as the labels of the program's window are.
UnitSpec LabelSpec(uint32_t unitId, const std::string &name, int32_t left, int32_t top,
                   int32_t width, int32_t height, std::vector<uint8_t> block = {},
                   std::vector<std::pair<int32_t, const void *>> bindings = {});
