// Helpers for the web tests: program variables that free themselves and read as std::string.
#pragma once

#include <string>

#include "app/web/program_text.h"
#include "runtime/heap.h"
#include "values/program_conventions.h"

// A Text variable owned by the test.
struct TextVar {
    Text value = nullptr;
    TextVar() = default;
    explicit TextVar(const char *text) : value(web::CopyText(text)) {}
    TextVar(const TextVar &) = delete;
    ~TextVar() { FreeMemory(value); }
    std::string str() const { return value ? std::string(value) : std::string(); }
    // Passed by reference and given.
    OptionalArgument given() {
        return {static_cast<uint32_t>(reinterpret_cast<uintptr_t>(&value)), 1};
    }
    // Left out: the callee still gets the address of an empty variable.
    OptionalArgument omitted() {
        return {static_cast<uint32_t>(reinterpret_cast<uintptr_t>(&value)), 0};
    }
};

// Takes ownership of a returned Text and reads it.
inline std::string Take(Text text) {
    std::string copy = text ? std::string(text) : std::string();
    FreeMemory(text);
    return copy;
}

inline OptionalArgument Given(uint32_t value) {
    return {value, 1};
}
inline constexpr OptionalArgument kOmitted{0, 0};
