// The program's own regular-expression automation component: an in-process object answering
// the by-name calls of the platform's "VBScript.RegExp" (Pattern, IgnoreCase, Global,
// Multiline, Execute, Test, Replace, and the match collection, match and sub-match objects
// these hand out), matched by the program's own engine. It needs no registry entries: the type
// information comes from the type library the executable embeds as resource TYPELIB 1.
#pragma once

#include <windows.h>

#include <unknwn.h>

struct ComObject;

namespace RegExpComponent {

// A new regular-expression object (Pattern "", IgnoreCase, Global and Multiline False) holding
// one reference for the caller; null when the executable's type library cannot be loaded or
// memory runs out.
IUnknown *CreateRegExp();

// Puts a new regular-expression object into a ComObject block as ObjectCreate puts a created
// object there: the block is emptied, then holds the object's IUnknown and no record. False,
// with the block unchanged, when no object could be made.
bool CreateRegExpInto(ComObject *target);

// How many of the component's objects (regular expressions, collections, matches, sub-match
// lists) are alive in the process: zero once every reference handed out has been released.
LONG LiveObjects();

} // namespace RegExpComponent
