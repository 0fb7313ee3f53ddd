// The ComObject commands: emptying, testing, copying, and the seven by-name calls.
#include "values/automation_commands.h"
#include "values/automation_invoke.h"
#include "values/automation_status.h"
#include "values/automation_type_codes.h"
#include "values/com_object.h"

namespace TC = AutomationTypeCode;

namespace {

ComObject *ObjectArgument(int32_t count, const ArgumentRecord *args, int32_t index) {
    return index < count ? reinterpret_cast<ComObject *>(static_cast<uintptr_t>(args[index].low))
                         : nullptr;
}

} // namespace

void ObjectClear(ArgumentRecord *, int32_t count, ArgumentRecord *args) {
    if (ComObject *target = ObjectArgument(count, args, 0)) {
        EmptyComObject(target);
    }
}

void ObjectIsEmpty(ArgumentRecord *result, int32_t count, ArgumentRecord *args) {
    const ComObject *target = ObjectArgument(count, args, 0);
    result->low = target == nullptr || target->object == nullptr ? 1 : 0;
}

void ObjectCopy(ArgumentRecord *, int32_t count, ArgumentRecord *args) {
    ComObject *destination = ObjectArgument(count, args, 0);
    const ComObject *source = ObjectArgument(count, args, 1);
    if (destination == nullptr) {
        return;
    }
    // The source's reference is taken before the target lets go of what it held, so that a copy
    // onto itself keeps the object.
    IUnknown *copied = source != nullptr ? source->object : nullptr;
    if (copied != nullptr) {
        copied->AddRef();
    }
    EmptyComObject(destination);
    destination->object = copied;
}

void ObjectWriteProperty(ArgumentRecord *result, int32_t count, ArgumentRecord *args) {
    const int32_t status = AutomationInvoke(nullptr, count, args, InvokeKind::Put, 0);
    result->low = status == kAutomationSucceeded ? 1 : 0;
}

void ObjectCallObjectMethod(ArgumentRecord *result, int32_t count, ArgumentRecord *args) {
    AutomationInvoke(result, count, args, InvokeKind::Method, TC::kComObject);
}

void ObjectReadTextProperty(ArgumentRecord *result, int32_t count, ArgumentRecord *args) {
    AutomationInvoke(result, count, args, InvokeKind::Get, TC::kText);
}

void ObjectCallTextMethod(ArgumentRecord *result, int32_t count, ArgumentRecord *args) {
    AutomationInvoke(result, count, args, InvokeKind::Method, TC::kText);
}

void ObjectReadNumberProperty(ArgumentRecord *result, int32_t count, ArgumentRecord *args) {
    AutomationInvoke(result, count, args, InvokeKind::Get, TC::kDouble);
}

void ObjectReadObjectProperty(ArgumentRecord *result, int32_t count, ArgumentRecord *args) {
    AutomationInvoke(result, count, args, InvokeKind::Get, TC::kComObject);
}

void ObjectReadVariantProperty(ArgumentRecord *result, int32_t count, ArgumentRecord *args) {
    AutomationInvoke(result, count, args, InvokeKind::Get, TC::kVariant);
}
