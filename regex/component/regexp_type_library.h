// The component's type information, read from the type library that the module embeds as
// resource TYPELIB 1. It is loaded once, by the first object made, and kept for the process:
// loading it parses the library anew, which a click that makes an object each time would pay.
#pragma once

#include <windows.h>

#include <oaidl.h>

#include <memory>

namespace RegExpComponent {

enum class InterfaceKind { RegExp, MatchCollection, Match, SubMatches };

class TypeLibrary {
public:
    ~TypeLibrary();
    TypeLibrary(const TypeLibrary &) = delete;
    TypeLibrary &operator=(const TypeLibrary &) = delete;

    // The dispatch view of an interface, as GetTypeInfo hands it to callers.
    ITypeInfo *DispatchInfo(InterfaceKind kind) const { return dispatch_[static_cast<int>(kind)]; }
    // The vtable view of the same interface, which ITypeInfo::Invoke calls through.
    ITypeInfo *VtableInfo(InterfaceKind kind) const { return vtable_[static_cast<int>(kind)]; }

    // The process's copy, loaded at the first call that finds none; null when the module
    // carries no readable type library (a later call tries again).
    static std::shared_ptr<const TypeLibrary> Acquire();

private:
    static constexpr int kKinds = 4;
    TypeLibrary() = default;
    bool Load();

    ITypeInfo *dispatch_[kKinds] = {};
    ITypeInfo *vtable_[kKinds] = {};
};

} // namespace RegExpComponent
