// The kernel commands on automation objects and variants (command table entries 20 to 34).
#pragma once

#include "runtime/argument_record.h"

void ObjectClear(ArgumentRecord *result, int32_t count, ArgumentRecord *args);
void ObjectCreate(ArgumentRecord *result, int32_t count, ArgumentRecord *args);
void ObjectWriteProperty(ArgumentRecord *result, int32_t count, ArgumentRecord *args);
void VariantAssign(ArgumentRecord *result, int32_t count, ArgumentRecord *args);
void ObjectCallObjectMethod(ArgumentRecord *result, int32_t count, ArgumentRecord *args);
void ObjectIsEmpty(ArgumentRecord *result, int32_t count, ArgumentRecord *args);
void ObjectReadTextProperty(ArgumentRecord *result, int32_t count, ArgumentRecord *args);
void ObjectCallTextMethod(ArgumentRecord *result, int32_t count, ArgumentRecord *args);
void VariantReset(ArgumentRecord *result, int32_t count, ArgumentRecord *args);
void ObjectReadNumberProperty(ArgumentRecord *result, int32_t count, ArgumentRecord *args);
void ObjectReadObjectProperty(ArgumentRecord *result, int32_t count, ArgumentRecord *args);
void ObjectReadVariantProperty(ArgumentRecord *result, int32_t count, ArgumentRecord *args);
void VariantToText(ArgumentRecord *result, int32_t count, ArgumentRecord *args);
void ObjectCopy(ArgumentRecord *result, int32_t count, ArgumentRecord *args);
void VariantDuplicate(ArgumentRecord *result, int32_t count, ArgumentRecord *args);
