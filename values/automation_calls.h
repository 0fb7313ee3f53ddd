// Typed wrappers through which program code calls the automation kernel commands (20 to 34):
// each builds the argument records, calls the command through the runtime (CallKernelCommand)
// and unpacks the result. Objects and variants travel as the addresses of their heap blocks;
// returned blocks and texts belong to the caller. Names must not be null.
#pragma once

#include <cstdint>
#include <cstring>

#include "values/automation_commands.h"
#include "values/kernel_calls.h"

// A ComObject block: an interface pointer and a record-data pointer (values/com_object.h).
struct ComObject;
// A Variant block: 16 bytes holding one VARIANT in the platform's layout.
struct VariantBlock;

namespace Kernel {

inline ArgumentRecord AddressArgument(TypeCode type, const void *address) {
    return ArgumentRecord{static_cast<uint32_t>(reinterpret_cast<uintptr_t>(address)), 0, type};
}
inline ArgumentRecord ObjectArgument(const ComObject *object) {
    return AddressArgument(kTypeComObject, object);
}
inline ArgumentRecord VariantArgument(const VariantBlock *variant) {
    return AddressArgument(kTypeVariant, variant);
}
inline ArgumentRecord DoubleArgument(double value) {
    ArgumentRecord record{0, 0, kTypeDouble};
    std::memcpy(&record.low, &value, sizeof(value));
    return record;
}
// A by-reference argument of a by-name call: the address of a program variable of type.
inline ArgumentRecord ReferenceArgument(TypeCode type, const void *variable) {
    return AddressArgument(type | kArrayBit, variable);
}

// A by-name call: the object, the member name, then the member's arguments (records).
template <typename... Args>
ArgumentRecord CallByName(KernelCommand command, const ComObject *object, const char *name,
                          const Args &...args) {
    const ArgumentRecord records[] = {ObjectArgument(object), TextArgument(name), args...};
    return InvokeKernelCommand(command, 2 + static_cast<int32_t>(sizeof...(Args)), records);
}

inline ComObject *AsObject(const ArgumentRecord &result) {
    return reinterpret_cast<ComObject *>(static_cast<uintptr_t>(result.low));
}
inline VariantBlock *AsVariant(const ArgumentRecord &result) {
    return reinterpret_cast<VariantBlock *>(static_cast<uintptr_t>(result.low));
}
inline double AsDouble(const ArgumentRecord &result) {
    double value;
    std::memcpy(&value, &result.low, sizeof(value));
    return value;
}

inline void ObjectClear(ComObject *object) {
    const ArgumentRecord args[] = {ObjectArgument(object)};
    InvokeKernelCommand(::ObjectClear, 1, args);
}
// The class route: progId is a ProgID or a CLSID string; no type library is given.
inline bool ObjectCreate(ComObject *target, const char *progId) {
    const ArgumentRecord args[] = {ObjectArgument(target), TextArgument(progId)};
    return InvokeKernelCommand(::ObjectCreate, 2, args).low != 0;
}
// values: the property's arguments, the new value last.
template <typename... Args>
bool ObjectWriteProperty(ComObject *object, const char *name, const Args &...values) {
    return CallByName(::ObjectWriteProperty, object, name, values...).low != 0;
}
inline bool VariantAssign(VariantBlock *target, const ArgumentRecord &value) {
    const ArgumentRecord args[] = {VariantArgument(target), value};
    return InvokeKernelCommand(::VariantAssign, 2, args).low != 0;
}
template <typename... Args>
ComObject *ObjectCallObjectMethod(ComObject *object, const char *name, const Args &...args) {
    return AsObject(CallByName(::ObjectCallObjectMethod, object, name, args...));
}
inline bool ObjectIsEmpty(const ComObject *object) {
    const ArgumentRecord args[] = {ObjectArgument(object)};
    return InvokeKernelCommand(::ObjectIsEmpty, 1, args).low != 0;
}
template <typename... Args>
Text ObjectReadTextProperty(ComObject *object, const char *name, const Args &...args) {
    return AsText(CallByName(::ObjectReadTextProperty, object, name, args...));
}
template <typename... Args>
Text ObjectCallTextMethod(ComObject *object, const char *name, const Args &...args) {
    return AsText(CallByName(::ObjectCallTextMethod, object, name, args...));
}
inline void VariantReset(VariantBlock *target) {
    const ArgumentRecord args[] = {VariantArgument(target)};
    InvokeKernelCommand(::VariantReset, 1, args);
}
template <typename... Args>
double ObjectReadNumberProperty(ComObject *object, const char *name, const Args &...args) {
    return AsDouble(CallByName(::ObjectReadNumberProperty, object, name, args...));
}
template <typename... Args>
ComObject *ObjectReadObjectProperty(ComObject *object, const char *name, const Args &...args) {
    return AsObject(CallByName(::ObjectReadObjectProperty, object, name, args...));
}
template <typename... Args>
VariantBlock *ObjectReadVariantProperty(ComObject *object, const char *name, const Args &...args) {
    return AsVariant(CallByName(::ObjectReadVariantProperty, object, name, args...));
}
inline Text VariantToText(const VariantBlock *source) {
    const ArgumentRecord args[] = {VariantArgument(source)};
    return AsText(InvokeKernelCommand(::VariantToText, 1, args));
}
// destination is a new 8-byte block; it receives the source's interface with one more
// reference, never its record.
inline void ObjectCopy(ComObject *destination, const ComObject *source) {
    const ArgumentRecord args[] = {ObjectArgument(destination), ObjectArgument(source)};
    InvokeKernelCommand(::ObjectCopy, 2, args);
}
// destination is a new 16-byte block; it receives a copy of the source's VARIANT.
inline void VariantDuplicate(VariantBlock *destination, const VariantBlock *source) {
    const ArgumentRecord args[] = {VariantArgument(destination), VariantArgument(source)};
    InvokeKernelCommand(::VariantDuplicate, 2, args);
}

} // namespace Kernel
