// Creating and emptying ComObject blocks.
#include "values/com_object.h"

#include "runtime/heap.h"

ComObject *NewEmptyComObject() {
    auto *block = static_cast<ComObject *>(AllocateMemory(sizeof(ComObject)));
    block->object = nullptr;
    block->record = nullptr;
    return block;
}

ComObject *NewComObjectHolding(IUnknown *object) {
    ComObject *block = NewEmptyComObject();
    if (object != nullptr) {
        object->AddRef();
        block->object = object;
    }
    return block;
}

void EmptyComObject(ComObject *target) {
    if (target->object != nullptr) {
        if (target->record != nullptr) {
            static_cast<IRecordInfo *>(static_cast<void *>(target->object))
                ->RecordDestroy(target->record);
            target->record = nullptr;
        }
        target->object->Release();
        target->object = nullptr;
    } else if (target->record != nullptr) {
        FreeMemory(target->record);
        target->record = nullptr;
    }
}
