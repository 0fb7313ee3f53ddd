// The objects that support-library code registers with the runtime, each with one byte of its
// own, so that the runtime can stop and delete all of them in one sweep (RuntimeNotify 2011 to
// 2014, and shutdown).
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

// What a registered object must offer: a way to end what it runs (a player, a worker thread)
// before it is deleted.
class RegisteredObject {
public:
    virtual ~RegisteredObject() = default;
    virtual void Stop() = 0;
};

class RegisteredObjects {
public:
    // The byte stored with object, or -1 when it is not registered.
    int32_t ByteOf(const RegisteredObject *object) const;
    // Registers object with byte; an object already registered keeps its byte.
    void Register(RegisteredObject *object, uint8_t byte);
    // True when object was registered.
    bool Unregister(const RegisteredObject *object);
    // Stops, then deletes every registered object, ignoring an exception from a stop; the list
    // is empty afterwards.
    void StopAndDeleteAll();

private:
    std::vector<std::pair<RegisteredObject *, uint8_t>> entries_;
};
