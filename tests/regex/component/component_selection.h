// Which regular-expression component a test run drives. CTest runs the automation commands'
// suite twice: once against the platform's "VBScript.RegExp", once with Wine's vbscript.dll
// disabled and ZV_REGEXP_COMPONENT=own, where the program's own component stands in.
#pragma once

#include <windows.h>

struct ComObject;

namespace RegExpTest {

// True in the run against the program's own component.
bool OwnComponentRun();

// Fills an empty ComObject block with the component of this run: "VBScript.RegExp" through
// ObjectCreate, or in the own-component run our component, after checking that ObjectCreate of
// the platform's failed. True when the block holds an object.
bool CreateComponentUnderTest(ComObject *target);

} // namespace RegExpTest
