// The test component's DLL: its class factory, the COM server exports with registration of the
// class and its ProgID, the reference total the tests read, and its embedded type library.
#include <windows.h>

#include <oaidl.h>
#include <olectl.h>

#include <string>

#include "component_ids.h"
#include "probe.h"

using namespace ZvTestComponent;

LONG g_componentReferences = 0;
HMODULE g_componentModule = nullptr;

namespace {

std::wstring ModulePath() {
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(g_componentModule, path, MAX_PATH);
    return std::wstring(path, length);
}

class ProbeFactory final : public IClassFactory {
public:
    ProbeFactory() { InterlockedIncrement(&g_componentReferences); }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void **object) override {
        if (iid == IID_IUnknown || iid == IID_IClassFactory) {
            *object = static_cast<IClassFactory *>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override {
        InterlockedIncrement(&g_componentReferences);
        return static_cast<ULONG>(InterlockedIncrement(&references_));
    }
    ULONG STDMETHODCALLTYPE Release() override {
        InterlockedDecrement(&g_componentReferences);
        const LONG left = InterlockedDecrement(&references_);
        if (left == 0) {
            delete this;
        }
        return static_cast<ULONG>(left);
    }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown *outer, REFIID iid, void **object) override {
        *object = nullptr;
        if (outer != nullptr) {
            return CLASS_E_NOAGGREGATION;
        }
        auto *probe = new Probe(false);
        const HRESULT answered = probe->QueryInterface(iid, object);
        probe->Release();
        return answered;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

private:
    LONG references_ = 1;
};

// Writes one value under HKEY_CLASSES_ROOT\key; name null is the key's default value.
bool WriteClassesValue(const std::wstring &key, const wchar_t *name, const std::wstring &value) {
    HKEY opened = nullptr;
    if (RegCreateKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &opened,
                        nullptr) != ERROR_SUCCESS) {
        return false;
    }
    const LONG written =
        RegSetValueExW(opened, name, 0, REG_SZ, reinterpret_cast<const BYTE *>(value.c_str()),
                       static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(opened);
    return written == ERROR_SUCCESS;
}

const std::wstring kClassKey = std::wstring(L"CLSID\\") + kProbeClassIdText;

} // namespace

ITypeInfo *ComponentTypeInfo(REFGUID type) {
    ITypeLib *library = nullptr;
    if (FAILED(LoadTypeLibEx(ModulePath().c_str(), REGKIND_NONE, &library))) {
        return nullptr;
    }
    ITypeInfo *info = nullptr;
    if (FAILED(library->GetTypeInfoOfGuid(type, &info))) {
        info = nullptr;
    }
    library->Release();
    return info;
}

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        g_componentModule = module;
        DisableThreadLibraryCalls(module);
    }
    return TRUE;
}

extern "C" HRESULT WINAPI DllGetClassObject(REFCLSID classId, REFIID iid, void **object) {
    *object = nullptr;
    if (classId != kProbeClassId) {
        return CLASS_E_CLASSNOTAVAILABLE;
    }
    auto *factory = new ProbeFactory();
    const HRESULT answered = factory->QueryInterface(iid, object);
    factory->Release();
    return answered;
}

extern "C" HRESULT WINAPI DllCanUnloadNow() {
    return g_componentReferences == 0 ? S_OK : S_FALSE;
}

// Registers the class (in-process, apartment-threaded) and its ProgID.
extern "C" HRESULT WINAPI DllRegisterServer() {
    const bool written =
        WriteClassesValue(kClassKey, nullptr, L"Zorvin automation test probe") &&
        WriteClassesValue(kClassKey + L"\\InprocServer32", nullptr, ModulePath()) &&
        WriteClassesValue(kClassKey + L"\\InprocServer32", L"ThreadingModel", L"Apartment") &&
        WriteClassesValue(kClassKey + L"\\ProgID", nullptr, kProgId) &&
        WriteClassesValue(std::wstring(kProgId) + L"\\CLSID", nullptr, kProbeClassIdText);
    return written ? S_OK : SELFREG_E_CLASS;
}

extern "C" HRESULT WINAPI DllUnregisterServer() {
    RegDeleteTreeW(HKEY_CLASSES_ROOT, kClassKey.c_str());
    RegDeleteTreeW(HKEY_CLASSES_ROOT, kProgId);
    return S_OK;
}

extern "C" LONG WINAPI ZvTestComponentReferences() {
    return g_componentReferences;
}
