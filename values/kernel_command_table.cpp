// The kernel library's command table, in table order. Entries beyond the value commands are
// filled in by the modules that build them.
#include "values/kernel_command_table.h"

#include "values/kernel_commands.h"
#ifdef _WIN32
#include "values/automation_commands.h"
#endif

const KernelCommand KernelCommandTable[kKernelCommandCount] = {
    ToText,
    LeftText,
    ToLowerCase,
    FindText,
    TrimSpaces,
    CharText,
    BitOr,
    TextLength,
    ToByteSet,
    ByteSetLength,
    BlankByteSet,
    LeftBytes,
    BlankText,
    ReplaceSubtext,
    SplitText,
    MiddleText,
    RightText,
    FindTextBackward,
    ToInteger,
    RemoveAllSpaces,
#ifdef _WIN32
    ObjectClear,               // 20
    ObjectCreate,              // 21
    ObjectWriteProperty,       // 22
    VariantAssign,             // 23
    ObjectCallObjectMethod,    // 24
    ObjectIsEmpty,             // 25
    ObjectReadTextProperty,    // 26
    ObjectCallTextMethod,      // 27
    VariantReset,              // 28
    ObjectReadNumberProperty,  // 29
    ObjectReadObjectProperty,  // 30
    ObjectReadVariantProperty, // 31
    VariantToText,             // 32
    ObjectCopy,                // 33
    VariantDuplicate,          // 34
#endif
};
