// The kernel library's command table. Entries are filled in as the commands are built.
#include "values/kernel_command_table.h"

const KernelCommand KernelCommandTable[kKernelCommandCount] = {};
