// Runtime values to VARIANTs and back, by the runtime's type codes.
#include "values/variant_conversion.h"

#include <cstring>

#include "runtime/heap.h"
#include "values/automation_text.h"
#include "values/automation_type_codes.h"
#include "values/com_object.h"

namespace TC = AutomationTypeCode;

namespace {

// Bytes a program variable of type occupies; 0 for types the automation code does not know.
uint32_t VariableWidth(uint32_t type) {
    switch (type) {
    case TC::kByte:
        return 1;
    case TC::kShort:
        return 2;
    case TC::kInteger:
    case TC::kSingle:
    case TC::kBoolean:
    case TC::kText:
    case TC::kByteSet:
    case TC::kComObject:
    case TC::kVariant:
        return 4;
    case TC::kLong:
    case TC::kDouble:
    case TC::kDateTime:
        return 8;
    default:
        return 0;
    }
}

uint32_t LowWord(uint64_t bits) {
    return static_cast<uint32_t>(bits);
}

template <typename T> T BitsAs(uint64_t bits) {
    T value;
    std::memcpy(&value, &bits, sizeof(T));
    return value;
}

template <typename T> uint64_t AsBits(T value) {
    uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof(T));
    return bits;
}

void ObjectToVariant(const ComObject *block, VARTYPE declared, VARIANT *out) {
    if (block != nullptr && block->object != nullptr && block->record != nullptr) {
        auto *recordInfo = static_cast<IRecordInfo *>(static_cast<void *>(block->object));
        void *copy = nullptr;
        if (SUCCEEDED(recordInfo->RecordCreateCopy(block->record, &copy))) {
            recordInfo->AddRef();
            V_VT(out) = VT_RECORD;
            V_RECORDINFO(out) = recordInfo;
            V_RECORD(out) = copy;
            return;
        }
    }
    V_VT(out) = VT_UNKNOWN;
    V_UNKNOWN(out) = nullptr;
    if (block == nullptr || block->object == nullptr) {
        return;
    }
    const auto parameter = static_cast<VARTYPE>(declared & ~VT_BYREF);
    if (parameter == VT_DISPATCH) {
        IDispatch *dispatch = nullptr;
        if (SUCCEEDED(block->object->QueryInterface(IID_IDispatch,
                                                    reinterpret_cast<void **>(&dispatch)))) {
            V_VT(out) = VT_DISPATCH;
            V_DISPATCH(out) = dispatch;
        }
        return;
    }
    // A Variant parameter (or a variable argument list of Variants) holds any object, and
    // without a declaration nothing says the object is wrong there; a parameter of any other
    // type has no place for one.
    const bool variant = (parameter & VT_TYPEMASK) == VT_VARIANT;
    if (parameter == VT_UNKNOWN || variant || parameter == VT_EMPTY) {
        block->object->AddRef();
        V_UNKNOWN(out) = block->object;
    }
}

// The VARTYPE a value is changed to before it is stored as a runtime value of type.
VARTYPE TargetVarType(uint32_t type) {
    switch (type) {
    case TC::kComObject:
        return VT_UNKNOWN;
    case TC::kBoolean:
        return VT_BOOL;
    case TC::kDateTime:
        return VT_DATE;
    case TC::kText:
        return VT_BSTR;
    case TC::kByte:
        return VT_UI1;
    case TC::kShort:
        return VT_I2;
    case TC::kInteger:
    case TC::kLong:
        return VT_I4;
    case TC::kSingle:
        return VT_R4;
    case TC::kDouble:
        return VT_R8;
    default:
        return VT_EMPTY;
    }
}

uint64_t ConvertedBits(const VARIANT &value, uint32_t type) {
    switch (type) {
    case TC::kComObject:
        return reinterpret_cast<uintptr_t>(NewComObjectHolding(V_UNKNOWN(&value)));
    case TC::kBoolean:
        return V_BOOL(&value) != VARIANT_FALSE ? 1 : 0;
    case TC::kDateTime:
        return AsBits(V_DATE(&value));
    case TC::kText:
        return reinterpret_cast<uintptr_t>(WideToText(V_BSTR(&value)));
    case TC::kByte:
        return V_UI1(&value);
    case TC::kShort:
        return static_cast<uint16_t>(V_I2(&value));
    case TC::kInteger:
        return static_cast<uint32_t>(V_I4(&value));
    case TC::kLong:
        return static_cast<uint64_t>(static_cast<int64_t>(V_I4(&value)));
    case TC::kSingle:
        return AsBits(V_R4(&value));
    default:
        return AsBits(V_R8(&value));
    }
}

} // namespace

bool IsReferenceArgument(const ArgumentRecord &argument) {
    return (argument.type & TC::kArrayOrReferenceBit) != 0;
}

RuntimeValue ReadArgumentValue(const ArgumentRecord &argument) {
    RuntimeValue value{TC::WithoutArrayBit(argument.type), 0};
    if (!IsReferenceArgument(argument)) {
        value.bits = argument.low | (static_cast<uint64_t>(argument.high) << 32);
        return value;
    }
    const void *variable = reinterpret_cast<const void *>(static_cast<uintptr_t>(argument.low));
    if (variable != nullptr) {
        std::memcpy(&value.bits, variable, VariableWidth(value.type));
    }
    return value;
}

VariantForm RuntimeValueToVariant(const RuntimeValue &value, VARTYPE declared, VARIANT *out) {
    const uint32_t low = LowWord(value.bits);
    switch (value.type) {
    case TC::kComObject:
        ObjectToVariant(reinterpret_cast<const ComObject *>(static_cast<uintptr_t>(low)), declared,
                        out);
        return VariantForm::Made;
    case TC::kVariant: {
        auto *source = reinterpret_cast<VARIANT *>(static_cast<uintptr_t>(low));
        if (source == nullptr) {
            return VariantForm::Made;
        }
        const HRESULT copied = VariantCopyInd(out, source);
        if (SUCCEEDED(copied)) {
            return VariantForm::Made;
        }
        return copied == E_OUTOFMEMORY ? VariantForm::OutOfMemory : VariantForm::None;
    }
    case TC::kBoolean:
        V_VT(out) = VT_BOOL;
        V_BOOL(out) = low != 0 ? VARIANT_TRUE : VARIANT_FALSE;
        return VariantForm::Made;
    case TC::kDateTime:
        V_VT(out) = VT_DATE;
        V_DATE(out) = BitsAs<double>(value.bits);
        return VariantForm::Made;
    case TC::kText: {
        // A null string would read as the empty one: the text would be lost without a word.
        BSTR text = TextToBstr(reinterpret_cast<const char *>(static_cast<uintptr_t>(low)));
        if (text == nullptr) {
            return VariantForm::OutOfMemory;
        }
        V_VT(out) = VT_BSTR;
        V_BSTR(out) = text;
        return VariantForm::Made;
    }
    case TC::kByte:
        V_VT(out) = VT_UI1;
        V_UI1(out) = static_cast<BYTE>(low);
        return VariantForm::Made;
    case TC::kShort:
        V_VT(out) = VT_I2;
        V_I2(out) = static_cast<SHORT>(low);
        return VariantForm::Made;
    case TC::kInteger:
    case TC::kLong:
        V_VT(out) = VT_I4;
        V_I4(out) = static_cast<LONG>(low);
        return VariantForm::Made;
    case TC::kSingle:
        V_VT(out) = VT_R4;
        V_R4(out) = BitsAs<float>(value.bits);
        return VariantForm::Made;
    case TC::kDouble:
        V_VT(out) = VT_R8;
        V_R8(out) = BitsAs<double>(value.bits);
        return VariantForm::Made;
    default:
        return VariantForm::None;
    }
}

void ClearArgumentVariant(VARIANT *argument) {
    if (V_VT(argument) == VT_RECORD) {
        if (V_RECORDINFO(argument) != nullptr) {
            V_RECORDINFO(argument)->RecordDestroy(V_RECORD(argument));
            V_RECORDINFO(argument)->Release();
        }
    } else {
        VariantClear(argument);
    }
    std::memset(argument, 0, sizeof(VARIANT));
}

bool VariantToRuntimeValue(const VARIANT *source, uint32_t type, uint64_t *bits) {
    if ((V_VT(source) & VT_TYPEMASK) == VT_RECORD) {
        return false;
    }
    if (type == TC::kVariant) {
        auto *block = static_cast<VARIANT *>(AllocateMemory(sizeof(VARIANT)));
        std::memset(block, 0, sizeof(VARIANT));
        if (FAILED(VariantCopyInd(block, const_cast<VARIANT *>(source)))) {
            FreeMemory(block);
            return false;
        }
        *bits = reinterpret_cast<uintptr_t>(block);
        return true;
    }
    const VARTYPE target = TargetVarType(type);
    if (target == VT_EMPTY) {
        return false;
    }
    VARIANT value;
    VariantInit(&value);
    bool converted = SUCCEEDED(VariantCopyInd(&value, const_cast<VARIANT *>(source))) &&
                     SUCCEEDED(VariantChangeType(&value, &value, 0, target));
    if (converted) {
        *bits = ConvertedBits(value, type);
    }
    VariantClear(&value);
    return converted;
}

bool WriteVariantToVariable(const VARIANT *source, uint32_t type, void *variable) {
    if (type == TC::kVariant) {
        auto **slot = static_cast<VARIANT **>(variable);
        uint64_t bits = 0;
        if (!VariantToRuntimeValue(source, type, &bits)) {
            return false;
        }
        auto *fresh = reinterpret_cast<VARIANT *>(static_cast<uintptr_t>(bits));
        if (*slot == nullptr) {
            *slot = fresh;
            return true;
        }
        VariantClear(*slot);
        std::memcpy(*slot, fresh, sizeof(VARIANT));
        FreeMemory(fresh);
        return true;
    }
    uint64_t bits = 0;
    if (!VariantToRuntimeValue(source, type, &bits)) {
        return false;
    }
    if (type == TC::kText) {
        auto **slot = static_cast<char **>(variable);
        FreeMemory(*slot);
        *slot = reinterpret_cast<char *>(static_cast<uintptr_t>(bits));
        return true;
    }
    if (type == TC::kComObject) {
        auto **slot = static_cast<ComObject **>(variable);
        auto *fresh = reinterpret_cast<ComObject *>(static_cast<uintptr_t>(bits));
        if (*slot == nullptr) {
            *slot = fresh;
            return true;
        }
        EmptyComObject(*slot);
        **slot = *fresh;
        FreeMemory(fresh);
        return true;
    }
    std::memcpy(variable, &bits, VariableWidth(type));
    return true;
}

uint64_t EmptyResultValue(uint32_t type) {
    if (type == TC::kComObject) {
        return reinterpret_cast<uintptr_t>(NewEmptyComObject());
    }
    if (type == TC::kVariant) {
        auto *block = static_cast<VARIANT *>(AllocateMemory(sizeof(VARIANT)));
        std::memset(block, 0, sizeof(VARIANT));
        return reinterpret_cast<uintptr_t>(block);
    }
    return 0;
}
