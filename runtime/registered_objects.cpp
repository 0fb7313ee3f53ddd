// The registered objects: lookup, registration and the sweep that stops and deletes them.
#include "runtime/registered_objects.h"

#include <algorithm>

int32_t RegisteredObjects::ByteOf(const RegisteredObject *object) const {
    for (const auto &[registered, byte] : entries_)
        if (registered == object)
            return byte;
    return -1;
}

void RegisteredObjects::Register(RegisteredObject *object, uint8_t byte) {
    if (object != nullptr && ByteOf(object) < 0)
        entries_.emplace_back(object, byte);
}

bool RegisteredObjects::Unregister(const RegisteredObject *object) {
    const auto found = std::find_if(entries_.begin(), entries_.end(),
                                    [object](const auto &entry) { return entry.first == object; });
    if (found == entries_.end())
        return false;
    entries_.erase(found);
    return true;
}

void RegisteredObjects::StopAndDeleteAll() {
    // An object that unregisters itself or registers another while it stops must not disturb
    // the walk: the list is taken over first.
    std::vector<std::pair<RegisteredObject *, uint8_t>> taken;
    taken.swap(entries_);
    for (const auto &entry : taken) {
        try {
            entry.first->Stop();
        } catch (...) {
        }
        // A destructor cannot throw: one that tried would end the process before any catch.
        delete entry.first;
    }
}
