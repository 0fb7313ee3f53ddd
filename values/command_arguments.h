// How kernel commands read their argument records and write their result: a missing record
// reads as omitted, a Text or ByteSet slot that holds no such value reads as empty.
#pragma once

#include <cstdint>
#include <optional>

#include "runtime/argument_record.h"
#include "values/type_codes.h"
#include "values/value_blocks.h"

class CommandArguments {
public:
    CommandArguments(int32_t count, const ArgumentRecord *records)
        : count_(records == nullptr || count < 0 ? 0 : count), records_(records) {}

    int32_t Count() const { return count_; }
    // The record at index, or an omitted one (type 0, value 0) beyond the count.
    ArgumentRecord At(int32_t index) const {
        if (index < count_) {
            return records_[index];
        }
        return ArgumentRecord{0, 0, kTypeNone};
    }
    bool IsGiven(int32_t index) const { return At(index).type != kTypeNone; }

    // The text at index; "" when it is null, omitted or not a text.
    const char *TextAt(int32_t index) const {
        const ArgumentRecord record = At(index);
        if (record.type != kTypeText || record.low == 0) {
            return "";
        }
        return reinterpret_cast<const char *>(static_cast<uintptr_t>(record.low));
    }
    // The byte set at index; null when it is empty, omitted or not a byte set.
    const ByteSetHeader *ByteSetAt(int32_t index) const {
        const ArgumentRecord record = At(index);
        if (record.type != kTypeByteSet) {
            return nullptr;
        }
        return reinterpret_cast<const ByteSetHeader *>(static_cast<uintptr_t>(record.low));
    }
    // The low word as a signed integer (0 when omitted).
    int32_t IntegerAt(int32_t index) const { return static_cast<int32_t>(At(index).low); }
    std::optional<int32_t> OptionalIntegerAt(int32_t index) const {
        if (!IsGiven(index)) {
            return std::nullopt;
        }
        return IntegerAt(index);
    }

private:
    int32_t count_;
    const ArgumentRecord *records_;
};

inline void SetIntegerResult(ArgumentRecord *result, int32_t value) {
    result->low = static_cast<uint32_t>(value);
}
inline void SetAddressResult(ArgumentRecord *result, const void *block) {
    result->low = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(block));
}
