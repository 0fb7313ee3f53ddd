// Builds window templates for the engine tests: unit records in the byte layout of the template
// segment, read back through the template reader. Handlers are the test routines' addresses,
// stored as offsets from a CodeBase of 0; a null handler is stored as -1 (no handler).
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "window/window_template.h"

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
    // The menu-item form (a UnitId of kind 6, class 2): these fields replace the ordinary ones.
    uint32_t shortcut = 0;
    uint32_t menuValue = 0;
    uint32_t menuFlags = 0;
    std::string caption;
    const void *menuHandler = nullptr;
};

// A menu-item record with its caption, menu flags (level in bits 4 to 7), shortcut and handler.
UnitSpec MenuItemSpec(uint32_t unitId, const std::string &caption, uint32_t menuFlags,
                      const void *handler = nullptr, uint32_t shortcut = 0);

// The template of one window whose unit list holds units (the window's own record first).
WindowTemplateList BuildWindow(uint32_t windowId, const std::vector<UnitSpec> &units);

// Property block writers.
std::vector<uint8_t> WindowBlock(const std::string &title, uint32_t shape = 0,
                                 uint32_t colour = 0xFF000000, uint32_t startPosition = 0);
std::vector<uint8_t> ButtonBlock(const std::string &caption, uint32_t type = 0);
