// HalfWidthFold over code page 936 text.
#include "values/half_width_fold.h"

#include <cstring>

#include "runtime/heap.h"
#include "values/cp936_text.h"

namespace {

constexpr uint8_t kFullWidthAsciiLead = 0xA3;
constexpr uint8_t kSymbolLead = 0xA1;
constexpr uint8_t kFirstTwinTrail = 0xA1;
constexpr uint8_t kLastTwinTrail = 0xFE;
constexpr uint8_t kFullWidthToAsciiOffset = 0x80;

// The ASCII twin of the double-byte character lead, trail, or 0 when it has none.
uint8_t AsciiTwin(uint8_t lead, uint8_t trail) {
    if (lead == kFullWidthAsciiLead && trail >= kFirstTwinTrail && trail <= kLastTwinTrail) {
        return static_cast<uint8_t>(trail - kFullWidthToAsciiOffset);
    }
    if (lead == kSymbolLead) {
        switch (trail) {
        case 0xA1:
            return ' ';
        case 0xAB:
            return '~';
        case 0xEE:
        case 0xEF:
            return '*';
        default:
            break;
        }
    }
    return 0;
}

} // namespace

Text HalfWidthFold(const char *text) {
    const uint32_t length = TextByteLength(text);
    if (length == 0) {
        return nullptr;
    }
    const auto *in = reinterpret_cast<const uint8_t *>(text);
    auto *out = static_cast<uint8_t *>(AllocateMemory(length + 1));
    uint32_t written = 0;
    for (uint32_t i = 0; i < length;) {
        if (!IsLeadByte(in[i])) {
            out[written++] = in[i++];
            continue;
        }
        if (in[i + 1] == 0) {
            break;
        }
        const uint8_t twin = AsciiTwin(in[i], in[i + 1]);
        if (twin != 0) {
            out[written++] = twin;
        } else {
            out[written++] = in[i];
            out[written++] = in[i + 1];
        }
        i += 2;
    }
    if (written == 0) {
        FreeMemory(out);
        return nullptr;
    }
    out[written] = '\0';
    return reinterpret_cast<char *>(out);
}
