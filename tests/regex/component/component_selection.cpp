// The run's component, and the check before any test that the run really drives the component
// it names: the platform's can be created in the first run and cannot in the second.
#include "tests/regex/component/component_selection.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "regex/component/regexp_component.h"
#include "runtime/argument_record.h"
#include "values/automation_commands.h"
#include "values/automation_type_codes.h"
#include "values/com_object.h"

namespace RegExpTest {
namespace {

bool PlatformComponentCreatable() {
    const HRESULT initialized = CoInitialize(nullptr);
    CLSID classId{};
    IUnknown *instance = nullptr;
    if (SUCCEEDED(CLSIDFromProgID(L"VBScript.RegExp", &classId))) {
        CoCreateInstance(classId, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                         reinterpret_cast<void **>(&instance));
    }
    const bool created = instance != nullptr;
    if (created) {
        instance->Release();
    }
    if (SUCCEEDED(initialized)) {
        CoUninitialize();
    }
    return created;
}

class ComponentCheck : public ::testing::Environment {
public:
    void SetUp() override {
        if (OwnComponentRun()) {
            ASSERT_FALSE(PlatformComponentCreatable())
                << "the own-component run must not reach the platform's VBScript.RegExp";
        } else {
            ASSERT_TRUE(PlatformComponentCreatable())
                << "the platform run needs the platform's VBScript.RegExp";
        }
    }
};

const ::testing::Environment *const kComponentCheck =
    ::testing::AddGlobalTestEnvironment(new ComponentCheck);

} // namespace

bool OwnComponentRun() {
    const char *selected = std::getenv("ZV_REGEXP_COMPONENT");
    return selected != nullptr && std::strcmp(selected, "own") == 0;
}

bool CreateComponentUnderTest(ComObject *target) {
    ArgumentRecord result{0, 0, 0};
    ArgumentRecord args[2] = {
        {static_cast<uint32_t>(reinterpret_cast<uintptr_t>(target)), 0,
         AutomationTypeCode::kComObject},
        {static_cast<uint32_t>(reinterpret_cast<uintptr_t>("VBScript.RegExp")), 0,
         AutomationTypeCode::kText}};
    ObjectCreate(&result, 2, args);
    if (!OwnComponentRun()) {
        return result.low != 0;
    }
    EXPECT_EQ(0u, result.low) << "the platform's component was created in the own-component run";
    return result.low == 0 && RegExpComponent::CreateRegExpInto(target);
}

} // namespace RegExpTest
