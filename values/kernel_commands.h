// The kernel commands 0 to 19 (text, byte-set and number conversions). Each takes a zeroed
// result record, the argument count and the first argument record; each returns new heap
// values that belong to the caller (null for empty) and never frees or keeps an argument.
#pragma once

#include "runtime/argument_record.h"

void ToText(ArgumentRecord *result, int32_t count, ArgumentRecord *args);           // 0
void LeftText(ArgumentRecord *result, int32_t count, ArgumentRecord *args);         // 1
void ToLowerCase(ArgumentRecord *result, int32_t count, ArgumentRecord *args);      // 2
void FindText(ArgumentRecord *result, int32_t count, ArgumentRecord *args);         // 3
void TrimSpaces(ArgumentRecord *result, int32_t count, ArgumentRecord *args);       // 4
void CharText(ArgumentRecord *result, int32_t count, ArgumentRecord *args);         // 5
void BitOr(ArgumentRecord *result, int32_t count, ArgumentRecord *args);            // 6
void TextLength(ArgumentRecord *result, int32_t count, ArgumentRecord *args);       // 7
void ToByteSet(ArgumentRecord *result, int32_t count, ArgumentRecord *args);        // 8
void ByteSetLength(ArgumentRecord *result, int32_t count, ArgumentRecord *args);    // 9
void BlankByteSet(ArgumentRecord *result, int32_t count, ArgumentRecord *args);     // 10
void LeftBytes(ArgumentRecord *result, int32_t count, ArgumentRecord *args);        // 11
void BlankText(ArgumentRecord *result, int32_t count, ArgumentRecord *args);        // 12
void ReplaceSubtext(ArgumentRecord *result, int32_t count, ArgumentRecord *args);   // 13
void SplitText(ArgumentRecord *result, int32_t count, ArgumentRecord *args);        // 14
void MiddleText(ArgumentRecord *result, int32_t count, ArgumentRecord *args);       // 15
void RightText(ArgumentRecord *result, int32_t count, ArgumentRecord *args);        // 16
void FindTextBackward(ArgumentRecord *result, int32_t count, ArgumentRecord *args); // 17
void ToInteger(ArgumentRecord *result, int32_t count, ArgumentRecord *args);        // 18
void RemoveAllSpaces(ArgumentRecord *result, int32_t count, ArgumentRecord *args);  // 19
