// How program code calls the runtime: the typed, logic-free wrappers over the service table
// slots that program code (app/ and the test programs) uses. On Windows every call goes through
// the RuntimeServiceTable exactly as compiled code would; the host build calls the services
// directly, since it has no service table.
#pragma once

#include <cstdint>

#include "values/argument_record.h"

// Calls a kernel command through service slot 3 (CallKernelCommand) with count records laid out
// in argument order, and returns the result record (which starts zeroed).
ArgumentRecord InvokeKernelCommand(KernelCommand command, int32_t count,
                                   const ArgumentRecord* records);
