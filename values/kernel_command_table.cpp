// The kernel library's command table. Entries are filled in as the commands are built.
#include "values/kernel_command_table.h"

#ifdef _WIN32
#include "values/automation_commands.h"
#endif

const KernelCommand KernelCommandTable[kKernelCommandCount] = {
    nullptr,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
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
