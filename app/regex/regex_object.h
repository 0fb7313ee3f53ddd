// RegexObject: the program's regular-expression class. It drives the platform's scripting
// component "VBScript.RegExp" through the automation kernel commands and converts between the
// component's values and the program's texts and integers.
#pragma once

#include <cstdint>

#include "values/automation_calls.h"
#include "values/program_conventions.h"
#include "values/value_blocks.h"

struct RegexOperationTable;

// An instance: a heap block of four words. The members are heap blocks owned by the instance.
struct RegexObject {
    const RegexOperationTable *operations;
    ComObject *regex;      // the component instance
    ComObject *matches;    // the match collection of the last Create
    VariantBlock *subject; // the subject text of the last Create (a new instance: integer 0)
};
static_assert(sizeof(RegexObject) == 16, "an instance is four words");

// The class's operations in slot order. Dispose and Clone receive the instance itself, the
// others the address of the variable that holds it. Logical optional arguments travel by value,
// position and replacement arguments as the address of the caller's variable.
struct RegexOperationTable {
    void (*dispose)(RegexObject *self);
    RegexObject *(*clone)(RegexObject *self);
    bool (*create)(RegexObject **self, Text *pattern, Text *subject, OptionalArgument caseSensitive,
                   OptionalArgument multiLine, OptionalArgument global,
                   OptionalArgument quoteMarker);
    void (*emptyOperation)(RegexObject **self);
    Text (*getPattern)(RegexObject **self);
    Text (*replace)(RegexObject **self, OptionalArgument replacement);
    int32_t (*matchCount)(RegexObject **self);
    Text (*matchText)(RegexObject **self, int32_t match, OptionalArgument position);
    Text (*subMatchText)(RegexObject **self, int32_t match, int32_t group,
                         OptionalArgument position);
    int32_t (*subMatchCount)(RegexObject **self);
};
static_assert(sizeof(RegexOperationTable) == 40, "ten operations");

extern const RegexOperationTable RegexOperations;

namespace Regex {

// A new instance as its user makes one: the table, two empty objects and the integer 0 as
// subject. The user then calls Initialize, and ends it with Dispose and FreeMemory.
RegexObject *NewInstance();
// Opens one use of the platform's component library on the calling thread (DLL command 8).
void Initialize(RegexObject **self);
// Empties the members and closes the use that Initialize opened (DLL command 9).
void Destroy(RegexObject *self);

void Dispose(RegexObject *self);
// A new, initialized instance sharing the component and the collection, with its own copy of
// the subject.
RegexObject *Clone(RegexObject *self);
bool Create(RegexObject **self, Text *pattern, Text *subject, OptionalArgument caseSensitive,
            OptionalArgument multiLine, OptionalArgument global, OptionalArgument quoteMarker);
void EmptyOperation(RegexObject **self);
Text GetPattern(RegexObject **self);
Text Replace(RegexObject **self, OptionalArgument replacement);
int32_t MatchCount(RegexObject **self);
// match and group count from 1; position, when given, receives a 0-based byte offset.
Text MatchText(RegexObject **self, int32_t match, OptionalArgument position);
Text SubMatchText(RegexObject **self, int32_t match, int32_t group, OptionalArgument position);
int32_t SubMatchCount(RegexObject **self);

} // namespace Regex
