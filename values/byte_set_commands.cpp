// ToByteSet, ByteSetLength, BlankByteSet and LeftBytes.
#include <cstring>

#include "values/command_arguments.h"
#include "values/kernel_commands.h"
#include "values/raw_value_bytes.h"

namespace {

// The in-memory width of a scalar value given as bytes; 0 for types without one.
uint32_t ScalarByteWidth(TypeCode type) {
    switch (type) {
    case kTypeByte:
        return 1;
    case kTypeShort:
        return 2;
    case kTypeInteger:
    case kTypeBoolean:
    case kTypeFloat:
        return 4;
    case kTypeLong:
    case kTypeDouble:
    case kTypeDateTime:
        return 8;
    default:
        return 0;
    }
}

} // namespace

void ToByteSet(ArgumentRecord *result, int32_t count, ArgumentRecord *args) {
    const CommandArguments in(count, args);
    const ArgumentRecord value = in.At(0);
    if (value.type == kTypeText) {
        const char *text = in.TextAt(0);
        SetAddressResult(result, NewByteSet(text, TextByteLength(text)));
        return;
    }
    RawBytes raw;
    if (ReadBlockBytes(value, &raw)) {
        SetAddressResult(result, NewByteSet(raw.bytes, raw.count));
        return;
    }
    const uint32_t width = ScalarByteWidth(value.type);
    if (width != 0) {
        // The record holds the value little-endian, low word first, as memory does.
        uint8_t bytes[8];
        std::memcpy(bytes, &value.low, 4);
        std::memcpy(bytes + 4, &value.high, 4);
        SetAddressResult(result, NewByteSet(bytes, width));
    }
}

void ByteSetLength(ArgumentRecord *result, int32_t count, ArgumentRecord *args) {
    const CommandArguments in(count, args);
    SetIntegerResult(result, static_cast<int32_t>(ByteSetCount(in.ByteSetAt(0))));
}

void BlankByteSet(ArgumentRecord *result, int32_t count, ArgumentRecord *args) {
    const CommandArguments in(count, args);
    const int32_t wanted = in.IntegerAt(0);
    SetAddressResult(result, NewByteSet(nullptr, wanted <= 0 ? 0 : static_cast<uint32_t>(wanted)));
}

void LeftBytes(ArgumentRecord *result, int32_t count, ArgumentRecord *args) {
    const CommandArguments in(count, args);
    const ByteSetHeader *set = in.ByteSetAt(0);
    const int32_t wanted = in.IntegerAt(1);
    const uint32_t available = ByteSetCount(set);
    const uint32_t taken =
        wanted <= 0 ? 0 : (static_cast<uint32_t>(wanted) < available ? wanted : available);
    SetAddressResult(result, NewByteSet(ByteSetBytes(set), taken));
}
