// The kernel library's command table, in table order. Entries beyond the value commands are
// filled in by the modules that build them.
#include "values/kernel_command_table.h"

#include "values/kernel_commands.h"

const KernelCommand KernelCommandTable[kKernelCommandCount] = {
    ToText,       LeftText,  ToLowerCase,      FindText,       TrimSpaces,
    CharText,     BitOr,     TextLength,       ToByteSet,      ByteSetLength,
    BlankByteSet, LeftBytes, BlankText,        ReplaceSubtext, SplitText,
    MiddleText,   RightText, FindTextBackward, ToInteger,      RemoveAllSpaces,
};
