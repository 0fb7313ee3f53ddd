// The compiled-code helpers over the runtime heap.
#include "values/code_helpers.h"

#include <cstdarg>
#include <cstring>

#include "runtime/error_report.h"
#include "runtime/heap.h"

namespace {

// The x87 control word's rounding-control field and its "toward zero" setting.
constexpr uint16_t kRoundingControlMask = 0x0C00;
constexpr uint16_t kRoundTowardZero = 0x0C00;

} // namespace

uint32_t CodeStrLen(const char *text) {
    return text == nullptr ? 0 : static_cast<uint32_t>(std::strlen(text));
}

Text CodeConcatTexts(int32_t count, ...) {
    va_list texts;
    va_start(texts, count);
    uint64_t total = 0;
    for (int32_t i = 0; i < count; ++i) {
        total += CodeStrLen(va_arg(texts, const char *));
    }
    va_end(texts);
    if (total >= UINT32_MAX) {
        ReportMemoryFailure(UINT32_MAX);
    }
    auto *joined = static_cast<char *>(AllocateMemory(static_cast<uint32_t>(total) + 1));
    char *at = joined;
    va_start(texts, count);
    for (int32_t i = 0; i < count; ++i) {
        const char *text = va_arg(texts, const char *);
        const uint32_t length = CodeStrLen(text);
        if (length != 0) {
            std::memcpy(at, text, length);
            at += length;
        }
    }
    va_end(texts);
    *at = '\0';
    return joined;
}

int32_t CodeCompareTexts(const char *a, const char *b) {
    const bool aEmpty = a == nullptr || a[0] == '\0';
    const bool bEmpty = b == nullptr || b[0] == '\0';
    if (aEmpty) {
        return bEmpty ? 0 : -1;
    }
    if (bEmpty) {
        return 1;
    }
    const int order = std::strcmp(a, b);
    return order < 0 ? -1 : (order > 0 ? 1 : 0);
}

int32_t CodeCompareBytes(const void *a, const void *b, uint32_t n) {
    if (n == 0) {
        return 0;
    }
    const int order = std::memcmp(a, b, n);
    return order < 0 ? -1 : (order > 0 ? 1 : 0);
}

ByteSet CodeConcatByteSets(int32_t count, ...) {
    va_list sets;
    va_start(sets, count);
    uint64_t total = 0;
    for (int32_t i = 0; i < count; ++i) {
        total += ByteSetCount(va_arg(sets, const ByteSetHeader *));
    }
    va_end(sets);
    if (total == 0) {
        return nullptr;
    }
    if (total > UINT32_MAX - sizeof(ByteSetHeader)) {
        ReportMemoryFailure(UINT32_MAX);
    }
    ByteSet joined = NewByteSet(nullptr, static_cast<uint32_t>(total));
    auto *at = reinterpret_cast<uint8_t *>(joined + 1);
    va_start(sets, count);
    for (int32_t i = 0; i < count; ++i) {
        const ByteSetHeader *set = va_arg(sets, const ByteSetHeader *);
        const uint32_t n = ByteSetCount(set);
        if (n != 0) {
            std::memcpy(at, ByteSetBytes(set), n);
            at += n;
        }
    }
    va_end(sets);
    return joined;
}

ArrayExtent CodeArrayCount(const void *array) {
    return ReadArrayExtent(array);
}

ArrayExtent CodeArrayCountOrZero(const void *array) {
    if (array == nullptr) {
        return ArrayExtent{0, nullptr};
    }
    return ReadArrayExtent(array);
}

int64_t CodeFloatToInt(double value) {
    // fistp rounds by the control word, so switch it to truncation for the one store and put
    // the caller's mode back.
    uint16_t callerMode;
    uint16_t truncating;
    int64_t result;
    __asm__ volatile("fnstcw %0" : "=m"(callerMode));
    truncating = static_cast<uint16_t>((callerMode & ~kRoundingControlMask) | kRoundTowardZero);
    __asm__ volatile("fldcw %1\n\t"
                     "fistpll %0\n\t"
                     "fldcw %2"
                     : "=m"(result)
                     : "m"(truncating), "m"(callerMode), "t"(value)
                     : "st");
    return result;
}
