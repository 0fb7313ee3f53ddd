// ComObject: the runtime's automation object, a heap block of an interface pointer and a
// record-data pointer.
#pragma once

#include <windows.h>

#include <oaidl.h>

struct ComObject {
    // IUnknown-compatible pointer, or null when the object is empty. When record is also set
    // this is the record's IRecordInfo.
    IUnknown *object;
    // The user-defined record's data; with object null, a block of the runtime heap.
    void *record;
};
static_assert(sizeof(ComObject) == 8, "a ComObject block is two words");

// A new heap block holding an empty object; the caller owns it.
ComObject *NewEmptyComObject();
// A new heap block holding object with one more reference; the caller owns it.
ComObject *NewComObjectHolding(IUnknown *object);
// Destroys the record, releases the interface and leaves both words null.
void EmptyComObject(ComObject *target);
