// Conversions between runtime values and VARIANTs for the by-name calls and variant assignment.
#pragma once

#include <windows.h>

#include <oaidl.h>

#include <cstdint>

#include "runtime/argument_record.h"

// A runtime value as the automation code sees it: its type code (reference bit removed) and
// its eight value bytes.
struct RuntimeValue {
    uint32_t type;
    uint64_t bits;
};

// True when a by-name call's argument carries the address of a program variable.
bool IsReferenceArgument(const ArgumentRecord &argument);
// The argument's value; a reference argument is read through its address. A reference to a
// type without a known width reads as that type with no value.
RuntimeValue ReadArgumentValue(const ArgumentRecord &argument);

// What became of a runtime value turned into a VARIANT.
enum class VariantForm {
    Made,
    None,        // the value's type has no VARIANT form
    OutOfMemory, // the system could not allocate the VARIANT's string
};

// Fills out (empty on entry) with value for a parameter of the declared type (VT_EMPTY when
// nothing is declared). A record object travels as a copy of its record. An interface-only
// object travels as IDispatch to a VT_DISPATCH parameter and as itself, VT_UNKNOWN, to a
// VT_UNKNOWN or VT_VARIANT parameter or where nothing is declared; any other parameter cannot
// hold an object and receives a null VT_UNKNOWN. Unless the result is Made, out is left empty.
VariantForm RuntimeValueToVariant(const RuntimeValue &value, VARTYPE declared, VARIANT *out);
// Clears a VARIANT made by RuntimeValueToVariant. A record is destroyed through its record
// info here, because it is a private copy whatever the platform's VariantClear does with it.
void ClearArgumentVariant(VARIANT *argument);

// A new runtime value of type converted from source, in *bits: new Text, ComObject and
// Variant blocks belong to the caller. False when source or the type is refused.
bool VariantToRuntimeValue(const VARIANT *source, uint32_t type, uint64_t *bits);
// Stores source into the program variable of type at variable, replacing and freeing or
// releasing its old value. False when the conversion is refused (the variable is unchanged).
bool WriteVariantToVariable(const VARIANT *source, uint32_t type, void *variable);
// The empty value of a result type: 0, the empty text, or a new empty ComObject or Variant.
uint64_t EmptyResultValue(uint32_t type);
