// SAFEARRAY building from runtime arrays and single-element access by a flat index.
#include "values/variant_array.h"

#include <cstring>

#include "values/automation_text.h"
#include "values/automation_type_codes.h"
#include "values/com_object.h"

namespace TC = AutomationTypeCode;

namespace {

// The array block starts with its dimension count, then the size of each dimension; the
// elements follow.
struct ArrayHeader {
    uint32_t dimensions;
};

const uint32_t *DimensionSizes(const ArrayHeader *header) {
    return reinterpret_cast<const uint32_t *>(header) + 1;
}

constexpr uint32_t kMaximumDimensions = 64;

struct ElementForm {
    VARTYPE type;
    uint32_t size; // bytes per element in the runtime array
};

bool ElementFormOf(uint32_t elementType, ElementForm *form) {
    switch (elementType) {
    case TC::kByteSet:
    case TC::kByte:
        *form = {VT_UI1, 1};
        return true;
    case TC::kComObject:
        *form = {VT_UNKNOWN, 4};
        return true;
    case TC::kVariant:
        *form = {VT_VARIANT, 4};
        return true;
    case TC::kBoolean:
        *form = {VT_BOOL, 4};
        return true;
    case TC::kDateTime:
        *form = {VT_DATE, 8};
        return true;
    case TC::kText:
        *form = {VT_BSTR, 4};
        return true;
    case TC::kShort:
        *form = {VT_I2, 2};
        return true;
    case TC::kInteger:
        *form = {VT_I4, 4};
        return true;
    case TC::kLong:
        *form = {VT_I4, 8};
        return true;
    case TC::kSingle:
        *form = {VT_R4, 4};
        return true;
    case TC::kDouble:
        *form = {VT_R8, 8};
        return true;
    default:
        return false;
    }
}

// Element count over all dimensions, false when it does not fit 32 bits.
bool ElementCount(const ArrayHeader *header, uint32_t *count) {
    if (header == nullptr) {
        *count = 0;
        return true;
    }
    if (header->dimensions == 0 || header->dimensions > kMaximumDimensions) {
        return false;
    }
    uint64_t total = 1;
    for (uint32_t d = 0; d < header->dimensions; ++d) {
        total *= DimensionSizes(header)[d];
        if (total > 0x7FFFFFFFu) {
            return false;
        }
    }
    *count = static_cast<uint32_t>(total);
    return true;
}

template <typename T> T ReadElement(const uint8_t *at) {
    T value;
    std::memcpy(&value, at, sizeof(T));
    return value;
}

// Writes one element into its cell of the SAFEARRAY's data. False when the element's string or
// VARIANT copy cannot be made.
bool StoreRuntimeElement(uint32_t elementType, const uint8_t *at, uint8_t *cell) {
    switch (elementType) {
    case TC::kByteSet:
    case TC::kByte:
        *cell = *at;
        break;
    case TC::kComObject: {
        const auto *block = ReadElement<const ComObject *>(at);
        IUnknown *object = block != nullptr ? block->object : nullptr;
        if (object != nullptr) {
            object->AddRef();
        }
        std::memcpy(cell, &object, sizeof(object));
        break;
    }
    case TC::kVariant: {
        auto *source = ReadElement<VARIANT *>(at);
        return source == nullptr ||
               SUCCEEDED(VariantCopyInd(reinterpret_cast<VARIANT *>(cell), source));
    }
    case TC::kBoolean: {
        const VARIANT_BOOL value = ReadElement<uint32_t>(at) != 0 ? VARIANT_TRUE : VARIANT_FALSE;
        std::memcpy(cell, &value, sizeof(value));
        break;
    }
    case TC::kText: {
        BSTR text = TextToBstr(ReadElement<const char *>(at));
        std::memcpy(cell, &text, sizeof(text));
        return text != nullptr;
    }
    case TC::kLong: // the low word of each 64-bit element
        std::memcpy(cell, at, 4);
        break;
    case TC::kShort:
        std::memcpy(cell, at, 2);
        break;
    case TC::kDateTime:
    case TC::kDouble:
        std::memcpy(cell, at, 8);
        break;
    default: // integer, single
        std::memcpy(cell, at, 4);
        break;
    }
    return true;
}

bool HasStorableForm(VARTYPE type) {
    switch (type) {
    case VT_RECORD:
    case VT_EMPTY:
    case VT_NULL:
        return false;
    default:
        return true;
    }
}

// Where SafeArrayPutElement and SafeArrayGetElement read or write an element of type in value:
// interfaces and strings by their pointer, everything else by the address of its data.
void *ElementAddress(VARTYPE type, VARIANT *value) {
    switch (type) {
    case VT_VARIANT:
        return value;
    case VT_BSTR:
        return V_BSTR(value);
    case VT_UNKNOWN:
    case VT_DISPATCH:
        return V_UNKNOWN(value);
    case VT_DECIMAL:
        return &V_DECIMAL(value);
    default:
        return &V_UI1(value);
    }
}

} // namespace

bool RuntimeArrayToVariant(uint32_t elementType, const void *block, VARIANT *out) {
    ElementForm form{};
    uint32_t count = 0;
    const auto *header = static_cast<const ArrayHeader *>(block);
    if (!ElementFormOf(elementType, &form) || !ElementCount(header, &count)) {
        return false;
    }
    SAFEARRAYBOUND bound{count, 1};
    SAFEARRAY *array = SafeArrayCreate(form.type, 1, &bound);
    if (array == nullptr) {
        return false;
    }
    if (count > 0) {
        uint8_t *cells = nullptr;
        if (FAILED(SafeArrayAccessData(array, reinterpret_cast<void **>(&cells)))) {
            SafeArrayDestroy(array);
            return false;
        }
        const auto *elements =
            reinterpret_cast<const uint8_t *>(DimensionSizes(header) + header->dimensions);
        const uint32_t cellSize = SafeArrayGetElemsize(array);
        bool stored = true;
        for (uint32_t i = 0; i < count && stored; ++i) {
            stored =
                StoreRuntimeElement(elementType, elements + i * form.size, cells + i * cellSize);
        }
        SafeArrayUnaccessData(array);
        if (!stored) {
            // The cells written so far are released with the array; the rest are still zero.
            SafeArrayDestroy(array);
            return false;
        }
    }
    V_VT(out) = static_cast<VARTYPE>(VT_ARRAY | form.type);
    V_ARRAY(out) = array;
    return true;
}

SAFEARRAY *ArrayOf(const VARIANT *value) {
    if ((V_VT(value) & VT_ARRAY) == 0) {
        return nullptr;
    }
    if ((V_VT(value) & VT_BYREF) != 0) {
        return V_ARRAYREF(value) != nullptr ? *V_ARRAYREF(value) : nullptr;
    }
    return V_ARRAY(value);
}

bool ElementSubscripts(SAFEARRAY *array, int32_t index, LONG *subscripts) {
    const UINT dimensions = SafeArrayGetDim(array);
    if (index < 1 || dimensions == 0 || dimensions > kMaximumDimensions) {
        return false;
    }
    uint32_t remaining = static_cast<uint32_t>(index - 1);
    for (UINT d = 1; d <= dimensions; ++d) {
        LONG lower = 0;
        LONG upper = 0;
        if (FAILED(SafeArrayGetLBound(array, d, &lower)) ||
            FAILED(SafeArrayGetUBound(array, d, &upper)) || upper < lower) {
            return false;
        }
        const uint32_t extent = static_cast<uint32_t>(upper - lower) + 1;
        subscripts[d - 1] = lower + static_cast<LONG>(remaining % extent);
        remaining /= extent;
    }
    return remaining == 0;
}

bool StoreElement(SAFEARRAY *array, const LONG *subscripts, VARIANT *value) {
    VARTYPE elementType = VT_EMPTY;
    if (FAILED(SafeArrayGetVartype(array, &elementType)) || !HasStorableForm(elementType)) {
        return false;
    }
    auto *indexes = const_cast<LONG *>(subscripts);
    if (elementType == VT_VARIANT) {
        return SUCCEEDED(SafeArrayPutElement(array, indexes, value));
    }
    VARIANT changed;
    VariantInit(&changed);
    bool stored =
        SUCCEEDED(VariantChangeType(&changed, value, 0, elementType)) &&
        SUCCEEDED(SafeArrayPutElement(array, indexes, ElementAddress(elementType, &changed)));
    VariantClear(&changed);
    return stored;
}

bool FetchElement(SAFEARRAY *array, const LONG *subscripts, VARIANT *out) {
    VARTYPE elementType = VT_EMPTY;
    if (FAILED(SafeArrayGetVartype(array, &elementType)) || !HasStorableForm(elementType)) {
        return false;
    }
    auto *indexes = const_cast<LONG *>(subscripts);
    void *cell = elementType == VT_VARIANT   ? static_cast<void *>(out)
                 : elementType == VT_DECIMAL ? static_cast<void *>(&V_DECIMAL(out))
                                             : static_cast<void *>(&V_UI1(out));
    if (FAILED(SafeArrayGetElement(array, indexes, cell))) {
        return false;
    }
    if (elementType != VT_VARIANT) {
        V_VT(out) = elementType;
    }
    return true;
}
