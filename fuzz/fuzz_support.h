// What the fuzz targets of the web routines share: a loud failure when a property breaks, the
// fuzzer's bytes as program texts, character starts of code page 936 text, and a check that
// every input leaves the runtime heap with as many live blocks as before.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "app/web/program_text.h"
#include "runtime/heap.h"
#include "runtime/heap_instrumentation.h"
#include "values/cp936_text.h"

namespace fuzz {

// Aborts, so that libFuzzer keeps the input, when a property does not hold.
inline void Check(bool holds, const char *what) {
    if (!holds) {
        std::fprintf(stderr, "property broken: %s\n", what);
        std::abort();
    }
}

// A program text holds no NUL: the fuzzer's bytes up to the first one.
inline std::string TextOf(const uint8_t *data, size_t size) {
    const std::string bytes(reinterpret_cast<const char *>(data), size);
    return bytes.substr(0, bytes.find('\0'));
}

inline std::string Bytes(const char *text) {
    return text != nullptr ? std::string(text) : std::string();
}

// The bytes of a returned text, whose block goes back to the heap.
inline std::string Take(Text text) {
    std::string bytes = Bytes(text);
    FreeMemory(text);
    return bytes;
}

// Calls visit(offset) at the first byte of every character of text, stepping over a lead byte
// and its trail byte as one character.
template <typename Visit> void ForEachCharacter(std::string_view text, Visit visit) {
    for (size_t at = 0; at < text.size(); ++at) {
        visit(at);
        if (IsLeadByte(static_cast<uint8_t>(text[at]))) {
            ++at;
        }
    }
}

// Whether some character of text is this single byte.
inline bool HasCharacter(std::string_view text, char sought) {
    bool found = false;
    ForEachCharacter(text, [&](size_t at) { found = found || text[at] == sought; });
    return found;
}

// Text without double-byte characters, where bytes and characters are one.
inline bool IsPlainAscii(std::string_view text) {
    for (char c : text) {
        if (IsLeadByte(static_cast<uint8_t>(c))) {
            return false;
        }
    }
    return true;
}

// A program variable holding a heap copy of a text, freed at the end of its scope.
class Variable {
public:
    explicit Variable(const std::string &text) : value(web::CopyText(text.c_str())) {}
    Variable(const Variable &) = delete;
    Variable &operator=(const Variable &) = delete;
    ~Variable() { FreeMemory(value); }
    std::string str() const { return Bytes(value); }
    Text value;
};

// Declared first in a target, checked last: the input handed back every block it took.
class HeapBalance {
public:
    HeapBalance() : before_(HeapInstrumentation::LiveBlocks()) {}
    HeapBalance(const HeapBalance &) = delete;
    HeapBalance &operator=(const HeapBalance &) = delete;
    ~HeapBalance() {
        Check(HeapInstrumentation::LiveBlocks() == before_, "a leaked or doubly freed heap block");
    }

private:
    int32_t before_;
};

} // namespace fuzz
