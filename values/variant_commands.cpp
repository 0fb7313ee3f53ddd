// The Variant commands: assignment (whole or one array element), text, duplicate and reset.
#include <cstring>

#include "values/automation_commands.h"
#include "values/automation_text.h"
#include "values/automation_type_codes.h"
#include "values/com_object.h"
#include "values/variant_array.h"
#include "values/variant_conversion.h"

namespace TC = AutomationTypeCode;

namespace {

// SAFEARRAYs the runtime makes have one dimension; others allow up to this many.
constexpr int kMaximumSubscripts = 64;

VARIANT *VariantArgument(int32_t count, const ArgumentRecord *args, int32_t index) {
    return index < count ? reinterpret_cast<VARIANT *>(static_cast<uintptr_t>(args[index].low))
                         : nullptr;
}

bool IndexGiven(int32_t count, const ArgumentRecord *args, int32_t index) {
    return index < count && args[index].type != 0;
}

bool IsArrayValue(const ArgumentRecord &value) {
    return (value.type & TC::kArrayOrReferenceBit) != 0 || value.type == TC::kByteSet;
}

// Converts an assigned value into out (empty on entry).
bool AssignedValueToVariant(const ArgumentRecord &value, VARIANT *out) {
    if (IsArrayValue(value)) {
        return RuntimeArrayToVariant(TC::WithoutArrayBit(value.type),
                                     reinterpret_cast<const void *>(value.low), out);
    }
    if (value.type == TC::kComObject) {
        const auto *block = reinterpret_cast<const ComObject *>(value.low);
        if (block != nullptr && block->object != nullptr && block->record == nullptr) {
            IUnknown *object = nullptr;
            if (FAILED(block->object->QueryInterface(IID_IUnknown,
                                                     reinterpret_cast<void **>(&object)))) {
                object = nullptr;
            }
            V_VT(out) = VT_UNKNOWN;
            V_UNKNOWN(out) = object;
            return true;
        }
    }
    const RuntimeValue runtime{value.type, value.low | (static_cast<uint64_t>(value.high) << 32)};
    return RuntimeValueToVariant(runtime, VT_EMPTY, out) == VariantForm::Made;
}

bool AssignElement(VARIANT *target, const ArgumentRecord &value, int32_t index) {
    SAFEARRAY *array = ArrayOf(target);
    LONG subscripts[kMaximumSubscripts];
    if (array == nullptr || !ElementSubscripts(array, index, subscripts)) {
        return false;
    }
    VARTYPE elementType = VT_EMPTY;
    if (IsArrayValue(value) &&
        (FAILED(SafeArrayGetVartype(array, &elementType)) || elementType != VT_VARIANT)) {
        return false;
    }
    VARIANT converted;
    VariantInit(&converted);
    const bool stored =
        AssignedValueToVariant(value, &converted) && StoreElement(array, subscripts, &converted);
    ClearArgumentVariant(&converted);
    return stored;
}

// The text of a VARIANT that holds no array; null when it cannot be changed to a string.
char *ScalarToText(const VARIANT *value) {
    if (V_VT(value) == VT_BSTR) {
        return WideToText(V_BSTR(value));
    }
    VARIANT text;
    VariantInit(&text);
    char *result = nullptr;
    if (SUCCEEDED(VariantCopyInd(&text, const_cast<VARIANT *>(value))) &&
        SUCCEEDED(VariantChangeType(&text, &text, 0, VT_BSTR))) {
        result = WideToText(V_BSTR(&text));
    }
    VariantClear(&text);
    return result;
}

} // namespace

void VariantAssign(ArgumentRecord *result, int32_t count, ArgumentRecord *args) {
    VARIANT *target = VariantArgument(count, args, 0);
    if (target == nullptr || count < 2) {
        return;
    }
    if (IndexGiven(count, args, 2)) {
        result->low = AssignElement(target, args[1], static_cast<int32_t>(args[2].low)) ? 1 : 0;
        return;
    }
    // The value is converted before the target is cleared: it may be the target itself.
    VARIANT assigned;
    std::memset(&assigned, 0, sizeof(VARIANT));
    const bool stored = AssignedValueToVariant(args[1], &assigned);
    if (!stored) {
        ClearArgumentVariant(&assigned);
        std::memset(&assigned, 0, sizeof(VARIANT));
    }
    VariantClear(target);
    std::memcpy(target, &assigned, sizeof(VARIANT));
    result->low = stored ? 1 : 0;
}

void VariantToText(ArgumentRecord *result, int32_t count, ArgumentRecord *args) {
    const VARIANT *source = VariantArgument(count, args, 0);
    if (source == nullptr) {
        return;
    }
    char *text = nullptr;
    SAFEARRAY *array = ArrayOf(source);
    if (array == nullptr) {
        text = ScalarToText(source);
    } else if (IndexGiven(count, args, 1)) {
        LONG subscripts[kMaximumSubscripts];
        VARIANT element;
        VariantInit(&element);
        if (ElementSubscripts(array, static_cast<int32_t>(args[1].low), subscripts) &&
            FetchElement(array, subscripts, &element)) {
            text = ScalarToText(&element);
        }
        VariantClear(&element);
    }
    result->low = reinterpret_cast<uintptr_t>(text);
}

void VariantDuplicate(ArgumentRecord *, int32_t count, ArgumentRecord *args) {
    VARIANT *destination = VariantArgument(count, args, 0);
    VARIANT *source = VariantArgument(count, args, 1);
    if (destination == nullptr) {
        return;
    }
    // Copied before the target lets go of what it held: the source may be the target itself.
    VARIANT copy;
    std::memset(&copy, 0, sizeof(VARIANT));
    if (source != nullptr) {
        VariantCopy(&copy, source);
    }
    VariantClear(destination);
    std::memcpy(destination, &copy, sizeof(VARIANT));
}

void VariantReset(ArgumentRecord *, int32_t count, ArgumentRecord *args) {
    VARIANT *target = VariantArgument(count, args, 0);
    if (target == nullptr) {
        return;
    }
    VariantClear(target);
    std::memset(target, 0, sizeof(VARIANT));
}
