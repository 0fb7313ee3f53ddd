// Calls through service slot 1 into real libraries: arguments and results pass untouched, the
// default search and ordinals bind against the platform, release gives the library back. (The
// calls that end the program are test programs read through their error boxes.)
#include <gtest/gtest.h>

#include <windows.h>

#include "runtime/dll_binding.h"
#include "runtime/dll_command_call.h"

namespace {

enum Command : uint32_t {
    kAddTwo,
    kCharUpperFromDefaults,
    kAnswerByOrdinal,
    kAnswerByWrappedOrdinal,
    kCommandCount
};

const char *kLibraries[kCommandCount] = {"zv_test_exports.dll", nullptr, "zv_test_exports.dll",
                                         "zv_test_exports.dll"};
const char *kExports[kCommandCount] = {"AddTwo", "CharUpperA", "#2", "#65538"};

class DllCall : public ::testing::Test {
protected:
    void SetUp() override { UseDllCommandLists(&lists); }
    void TearDown() override {
        ReleaseDllCommandModules(lists, PlatformModuleLoader());
        UseDllCommandLists(nullptr);
    }

    HMODULE modules[kCommandCount] = {};
    FARPROC entries[kCommandCount] = {};
    DllCommandLists lists{kCommandCount, kLibraries, kExports, modules, entries, ".", ""};
};

TEST_F(DllCall, ArgumentsAndResultPassThroughTheServiceUntouched) {
    const uint32_t words[] = {40, 2};
    EXPECT_EQ(CallDllCommandChecked(kAddTwo, 2, words), 42u);
    const uint32_t negative[] = {static_cast<uint32_t>(-50), 8};
    EXPECT_EQ(static_cast<int32_t>(CallDllCommandChecked(kAddTwo, 2, negative)), -42);
}

TEST_F(DllCall, AnExportOfTheUserInterfaceLibraryIsFoundAmongTheDefaults) {
    const uint32_t letter[] = {'q'};
    EXPECT_EQ(CallDllCommandChecked(kCharUpperFromDefaults, 1, letter), uint32_t{'Q'});
    EXPECT_EQ(modules[kCharUpperFromDefaults], GetModuleHandleA("user32.dll"));
    EXPECT_EQ(entries[kCharUpperFromDefaults],
              GetProcAddress(GetModuleHandleA("user32.dll"), "CharUpperA"));
}

TEST_F(DllCall, OrdinalTwoAndOrdinal65538ReachTheSameExport) {
    EXPECT_EQ(CallDllCommandChecked(kAnswerByOrdinal, 0, nullptr), 42u);
    EXPECT_EQ(CallDllCommandChecked(kAnswerByWrappedOrdinal, 0, nullptr), 42u);
    EXPECT_EQ(entries[kAnswerByOrdinal], entries[kAnswerByWrappedOrdinal]);
    EXPECT_EQ(entries[kAnswerByOrdinal], GetProcAddress(modules[kAnswerByOrdinal], "Answer"));
}

TEST_F(DllCall, ReleaseGivesTheLibraryBack) {
    CallDllCommandChecked(kAnswerByOrdinal, 0, nullptr);
    ASSERT_NE(GetModuleHandleA("zv_test_exports.dll"), nullptr);
    ReleaseDllCommandModules(lists, PlatformModuleLoader());
    EXPECT_EQ(GetModuleHandleA("zv_test_exports.dll"), nullptr);
}

} // namespace
