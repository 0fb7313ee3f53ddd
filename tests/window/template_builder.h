// Builds window templates in memory for the engine tests: unit records in the byte layout the
// template segment uses, with handler addresses already relocated.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "window/window_collection.h"

struct UnitSpec {
    uint32_t unitId = 0;
    uint32_t type = 0;
    uint32_t eventTarget = 0;
    std::string name;
    int32_t left = 0, top = 0, width = 0, height = 0;
    uint32_t parent = 0;
    std::vector<uint32_t> children;
    std::vector<uint8_t> pointer;
    std::string tag;
    uint32_t flags = 1;
    int32_t tabOrder = 0;
    std::vector<std::pair<int32_t, const void *>> bindings;
    std::vector<uint8_t> propertyBlock;
};

// A WindowObject holding the records of units (the window's own record first).
WindowObject *BuildWindowObject(const std::vector<UnitSpec> &units);

// Property block writers.
std::vector<uint8_t> WindowBlock(const std::string &title, uint32_t shape = 0,
                                 uint32_t colour = 0xFF000000, uint32_t startPosition = 0);
std::vector<uint8_t> ButtonBlock(const std::string &caption, uint32_t type = 0);
