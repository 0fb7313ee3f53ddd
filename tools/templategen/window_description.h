// The model of a window description: windows, their unit records and the encoded fields.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct EventBindingDescription {
    int32_t eventNumber = 0;
    uint32_t handlerOffset = 0; // offset from CodeBase, 0xFFFFFFFF for none
};

// One UnitRecord; texts are already code page 936 bytes.
struct UnitDescription {
    uint32_t unitId = 0;
    uint32_t type = 0;
    std::string name;
    std::string remark;
    int32_t left = 0, top = 0, width = 0, height = 0;
    uint32_t parent = 0;
    uint32_t eventTarget = 0;
    std::vector<uint32_t> children;
    std::string mousePointer = std::string(4, '\0'); // the default pointer: word 0
    std::string tag;
    uint32_t flags = 0;
    int32_t tabOrder = 0;
    std::vector<EventBindingDescription> bindings;
    std::string propertyBlock;
    // The menu-item form, written instead of the ordinary fields for a menu item.
    bool menuItem = false;
    uint32_t shortcut = 0;
    uint32_t menuValue = 0;
    uint32_t menuFlags = 0;
    std::string caption;
    uint32_t menuHandlerOffset = 0xFFFFFFFF;
    int line = 0; // where the unit starts in the description, for messages
};

struct WindowDescription {
    uint32_t windowId = 0;
    uint32_t reserved1 = 0;
    uint32_t reserved2 = 0;
    std::vector<UnitDescription> units;
};
