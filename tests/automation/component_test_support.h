// The fixture of the tests against our own automation component: registration in this Wine
// prefix for the test run, a probe created by ProgID for each test, and the proof at the end of
// each test that the component holds no reference and the runtime heap no block.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "automation_test_support.h"
#include "component/component_ids.h"
#include "runtime/heap_instrumentation.h"
#include "values/automation_commands.h"
#include "values/automation_status.h"

namespace ComponentTest {

using namespace AutomationTest;

// The component DLL beside the test executable.
inline std::wstring ComponentPath() {
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length);
    return folder.substr(0, folder.find_last_of(L'\\') + 1) + L"zv_test_component.dll";
}

inline std::string ComponentPathText() {
    const std::wstring wide = ComponentPath();
    char text[MAX_PATH * 2];
    WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, text, sizeof(text), nullptr, nullptr);
    return text;
}

inline ULONG ReferenceCount(IUnknown *object) {
    object->AddRef();
    return object->Release();
}

// Loads the component, registers it for the run and removes its registration afterwards.
class ComponentRegistration : public ::testing::Environment {
public:
    void SetUp() override {
        module_ = LoadLibraryW(ComponentPath().c_str());
        ASSERT_NE(nullptr, module_) << "the component DLL beside the tests";
        auto registerServer =
            reinterpret_cast<HRESULT(WINAPI *)()>(GetProcAddress(module_, "DllRegisterServer"));
        ASSERT_NE(nullptr, registerServer);
        ASSERT_EQ(S_OK, registerServer());
    }
    void TearDown() override {
        if (module_ == nullptr) {
            return;
        }
        auto unregisterServer =
            reinterpret_cast<HRESULT(WINAPI *)()>(GetProcAddress(module_, "DllUnregisterServer"));
        EXPECT_EQ(S_OK, unregisterServer());
        FreeLibrary(module_);
    }
    static LONG References() {
        auto total = reinterpret_cast<ZvTestComponent::ReferenceTotalRoutine>(GetProcAddress(
            GetModuleHandleW(L"zv_test_component.dll"), ZvTestComponent::kReferenceTotalExport));
        return total != nullptr ? total() : -1;
    }

private:
    HMODULE module_ = nullptr;
};

class ProbeTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
        liveBefore_ = HeapInstrumentation::LiveBlocks();
        probe_ = NewEmptyComObject();
        ASSERT_EQ(1u, Call(ObjectCreate, {Object(probe_), Text("Zorvin.TestProbe")}).low);
        ASSERT_EQ(1, ComponentRegistration::References()) << "the probe's one reference";
    }
    void TearDown() override {
        EmptyComObject(probe_);
        FreeMemory(probe_);
        EXPECT_EQ(0, ComponentRegistration::References()) << "a reference left on the component";
        EXPECT_EQ(liveBefore_, HeapInstrumentation::LiveBlocks()) << "a heap block left over";
        CoUninitialize();
    }

    // What the probe received in its last invocation (flags, count, named id, types).
    std::string LastCall() {
        return TakeText(Call(ObjectReadTextProperty, {Object(probe_), Text("LastCall")}));
    }

    ComObject *probe_ = nullptr;

private:
    int32_t liveBefore_ = 0;
};

} // namespace ComponentTest
