// AutomationInvoke: the one routine behind every by-name read, write and call.
#pragma once

#include <cstdint>

#include "runtime/argument_record.h"
#include "values/automation_member.h"

// args[0] is the ComObject, args[1] the member name, the rest the member's arguments. Invokes
// the member with kind and converts its result to resultType (0 for none) into result, which
// gets the empty value of that type on failure. Records the outcome in AutomationStatus and
// returns it.
int32_t AutomationInvoke(ArgumentRecord *result, int32_t count, const ArgumentRecord *args,
                         InvokeKind kind, uint32_t resultType);
