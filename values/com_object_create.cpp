// ObjectCreate: a new automation object from a ProgID or CLSID string, or from a type library.
#include <cstring>

#include "runtime/heap.h"
#include "values/automation_commands.h"
#include "values/automation_text.h"
#include "values/com_object.h"

namespace {

// In-process server, in-process handler, local server and remote server.
constexpr DWORD kAllServerContexts =
    CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER;
constexpr DWORD kLocalServerContexts =
    CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER;

const char *TextArgument(int32_t count, const ArgumentRecord *args, int32_t index) {
    return index < count ? reinterpret_cast<const char *>(static_cast<uintptr_t>(args[index].low))
                         : nullptr;
}

// Creates the class named in the type library file, registering the library when the file
// was named by a path. Null when anything fails.
IUnknown *CreateFromTypeLibrary(const char *className, const char *libraryFile) {
    wchar_t *file = TextToWide(libraryFile);
    wchar_t *name = TextToWide(className);
    IUnknown *instance = nullptr;
    ITypeLib *library = nullptr;
    if (SUCCEEDED(LoadTypeLib(file, &library))) {
        const ULONG hash = LHashValOfNameSys(SYS_WIN32, GetUserDefaultLCID(), name);
        ITypeInfo *typeInfo = nullptr;
        MEMBERID member = 0;
        USHORT found = 1;
        if (SUCCEEDED(library->FindName(name, hash, &typeInfo, &member, &found)) && found == 1 &&
            typeInfo != nullptr) {
            if (SUCCEEDED(typeInfo->CreateInstance(nullptr, IID_IUnknown,
                                                   reinterpret_cast<void **>(&instance))) &&
                libraryFile != nullptr && std::strchr(libraryFile, '\\') != nullptr) {
                RegisterTypeLib(library, file, nullptr);
            }
            typeInfo->Release();
        }
        library->Release();
    }
    FreeMemory(name);
    FreeMemory(file);
    return instance;
}

IUnknown *CreateFromClass(const char *className) {
    wchar_t *name = TextToWide(className);
    CLSID classId{};
    const HRESULT resolved = className != nullptr && className[0] == '{'
                                 ? CLSIDFromString(name, &classId)
                                 : CLSIDFromProgID(name, &classId);
    FreeMemory(name);
    if (FAILED(resolved)) {
        return nullptr;
    }
    IUnknown *instance = nullptr;
    HRESULT created = CoCreateInstance(classId, nullptr, kAllServerContexts, IID_IUnknown,
                                       reinterpret_cast<void **>(&instance));
    if (created == E_INVALIDARG) {
        created = CoCreateInstance(classId, nullptr, kLocalServerContexts, IID_IUnknown,
                                   reinterpret_cast<void **>(&instance));
    }
    return SUCCEEDED(created) ? instance : nullptr;
}

} // namespace

void ObjectCreate(ArgumentRecord *result, int32_t count, ArgumentRecord *args) {
    auto *target =
        count >= 1 ? reinterpret_cast<ComObject *>(static_cast<uintptr_t>(args[0].low)) : nullptr;
    const char *className = TextArgument(count, args, 1);
    if (target == nullptr || className == nullptr) {
        return;
    }
    IUnknown *instance = nullptr;
    if (className[0] != '{' && count > 2 && args[2].type != 0) {
        instance = CreateFromTypeLibrary(className, TextArgument(count, args, 2));
    }
    if (instance == nullptr) {
        instance = CreateFromClass(className);
    }
    if (instance == nullptr) {
        return;
    }
    if (FAILED(OleRun(instance))) {
        instance->Release();
        return;
    }
    EmptyComObject(target);
    target->object = instance;
    result->low = 1;
}
