// Loading the embedded type library and picking the two views of each dual interface.
#include "regex/component/regexp_type_library.h"

#include <mutex>
#include <string>

#include "regex/component/regexp_interfaces.h"
#include "runtime/library_warm_up.h"

namespace RegExpComponent {
namespace {

constexpr const IID *kInterfaceIds[] = {&kRegExpInterfaceId, &kMatchCollectionInterfaceId,
                                        &kMatchInterfaceId, &kSubMatchesInterfaceId};

// Loaded on the runtime's warm-up worker once the window is up, so that the first object made
// (at the user's first click) finds the library loaded.
void LoadAhead() {
    TypeLibrary::Acquire();
}
[[maybe_unused]] const bool kLoadedAhead = (AddWarmUpPreparation(&LoadAhead), true);

// The file of the module this code is linked into: the program or a test executable, each of
// which carries the type library as a resource.
std::wstring OwnModulePath() {
    HMODULE module = nullptr;
    if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            reinterpret_cast<LPCWSTR>(&OwnModulePath), &module)) {
        return {};
    }
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(module, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) {
            return {};
        }
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

} // namespace

TypeLibrary::~TypeLibrary() {
    for (int i = 0; i < kKinds; ++i) {
        if (dispatch_[i] != nullptr) {
            dispatch_[i]->Release();
        }
        if (vtable_[i] != nullptr) {
            vtable_[i]->Release();
        }
    }
}

bool TypeLibrary::Load() {
    const std::wstring path = OwnModulePath();
    ITypeLib *library = nullptr;
    if (path.empty() || FAILED(LoadTypeLibEx(path.c_str(), REGKIND_NONE, &library))) {
        return false;
    }
    bool complete = true;
    for (int i = 0; i < kKinds && complete; ++i) {
        HREFTYPE vtableType = 0;
        complete = SUCCEEDED(library->GetTypeInfoOfGuid(*kInterfaceIds[i], &dispatch_[i])) &&
                   SUCCEEDED(dispatch_[i]->GetRefTypeOfImplType(-1, &vtableType)) &&
                   SUCCEEDED(dispatch_[i]->GetRefTypeInfo(vtableType, &vtable_[i]));
    }
    library->Release();
    // Each interface's base (IDispatch) is described in the system's own type library, which
    // the platform loads when a name is first looked up beyond the interface's own members and
    // then keeps with this library. Resolved here, that first lookup is not part of a call.
    for (int i = 0; i < kKinds && complete; ++i) {
        HREFTYPE baseType = 0;
        ITypeInfo *base = nullptr;
        if (SUCCEEDED(dispatch_[i]->GetRefTypeOfImplType(0, &baseType)) &&
            SUCCEEDED(dispatch_[i]->GetRefTypeInfo(baseType, &base))) {
            base->Release();
        }
    }
    return complete;
}

std::shared_ptr<const TypeLibrary> TypeLibrary::Acquire() {
    static std::mutex guard;
    // Never destroyed: released by the exit's static destructors, it would be released after
    // the runtime has shut COM down; the system reclaims it with the process.
    static auto *const kept = new std::shared_ptr<const TypeLibrary>();
    std::lock_guard<std::mutex> lock(guard);
    if (*kept == nullptr) {
        std::shared_ptr<TypeLibrary> loaded(new TypeLibrary());
        if (!loaded->Load()) {
            return nullptr;
        }
        *kept = std::move(loaded);
    }
    return *kept;
}

} // namespace RegExpComponent
