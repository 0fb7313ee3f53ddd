// DLL command binding with a recording loader: which libraries are loaded, searched and
// unloaded in which order, ordinals, caching, failure messages and release; the platform's
// system directory, from which a library of the system is always loaded; and the warm-up that
// maps the system's libraries ahead of the first call.
#include <gtest/gtest.h>

#include <atomic>
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "runtime/dll_binding.h"
#include "runtime/dll_system_library.h"
#include "runtime/library_warm_up.h"

namespace {

// The fake platform: libraries that "exist", each with its exports (name or "#ordinal").
std::map<std::string, std::vector<std::string>> g_libraries;
std::vector<std::string> g_events;
std::vector<std::string> g_loadedNames; // index + 1 is the fake module handle
// Names the fake system directory holds; a file there is loaded as kSystemFolder + name and has
// the exports g_libraries gives under that path.
std::set<std::string> g_systemLibraries;
constexpr char kSystemFolder[] = "S:\\sys\\";

struct BindingFailure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

HMODULE FakeLoad(const char *path) {
    g_events.push_back(std::string("load ") + path);
    if (g_libraries.count(path) == 0) {
        return nullptr;
    }
    g_loadedNames.push_back(path);
    return reinterpret_cast<HMODULE>(static_cast<uintptr_t>(g_loadedNames.size()));
}

std::string &NameOf(HMODULE module) {
    return g_loadedNames.at(reinterpret_cast<uintptr_t>(module) - 1);
}

FARPROC FakeFind(HMODULE module, const char *exportName) {
    const uintptr_t raw = reinterpret_cast<uintptr_t>(exportName);
    const std::string key = raw <= 0xFFFF ? "#" + std::to_string(raw) : std::string(exportName);
    g_events.push_back("find " + key + " in " + NameOf(module));
    const auto &exports = g_libraries[NameOf(module)];
    for (size_t i = 0; i < exports.size(); ++i) {
        if (exports[i] == key) {
            return reinterpret_cast<FARPROC>(0x1000 * reinterpret_cast<uintptr_t>(module) + i);
        }
    }
    return nullptr;
}

bool FakeLoadFromSystem(const char *name, HMODULE *module) {
    if (g_systemLibraries.count(name) == 0) {
        return false;
    }
    *module = FakeLoad((kSystemFolder + std::string(name)).c_str());
    return true;
}

void FakeUnload(HMODULE module) {
    g_events.push_back("unload " + NameOf(module));
}

void FakeFail(const char *message) {
    throw BindingFailure(message);
}

const ModuleLoader kRecordingLoader{FakeLoad, FakeLoadFromSystem, FakeFind, FakeUnload, FakeFail};

// One declared command per test, with room for a second.
class DllBinding : public ::testing::Test {
protected:
    void SetUp() override {
        g_libraries.clear();
        g_events.clear();
        g_loadedNames.clear();
        g_systemLibraries.clear();
    }

    DllCommandLists Lists(const char *library, const char *exportName) {
        libraries[0] = libraries[1] = library;
        exports[0] = exports[1] = exportName;
        return DllCommandLists{2, libraries, exports, modules, entries, "C:\\prog", "D:\\mod\\"};
    }

    const char *libraries[2] = {};
    const char *exports[2] = {};
    HMODULE modules[2] = {};
    FARPROC entries[2] = {};
};

TEST_F(DllBinding, DefaultLibrariesAreTriedInOrderAndUnloadedUntilOneHasTheExport) {
    for (const char *name : {"Kernel32.dll", "Gdi32.dll", "User32.dll", "Shell32.dll"}) {
        g_libraries[name] = {"Other"};
    }
    g_libraries["User32.dll"] = {"MessageBoxA"};
    g_libraries["Shell32.dll"] = {"MessageBoxA"};
    const DllCommandLists lists = Lists(nullptr, "MessageBoxA");

    const FARPROC entry = BindDllCommand(lists, 0, kRecordingLoader);

    const std::vector<std::string> expected{
        "load Kernel32.dll", "find MessageBoxA in Kernel32.dll", "unload Kernel32.dll",
        "load Gdi32.dll",    "find MessageBoxA in Gdi32.dll",    "unload Gdi32.dll",
        "load User32.dll",   "find MessageBoxA in User32.dll"};
    EXPECT_EQ(g_events, expected);
    EXPECT_EQ(entries[0], entry);
    ASSERT_NE(modules[0], nullptr);
    EXPECT_EQ(NameOf(modules[0]), "User32.dll");
}

TEST_F(DllBinding, AnEmptyLibraryNameAlsoSearchesTheDefaultLibraries) {
    g_libraries["Kernel32.dll"] = {"GetTickCount"};
    const DllCommandLists lists = Lists("", "GetTickCount");
    EXPECT_NE(BindDllCommand(lists, 0, kRecordingLoader), nullptr);
    EXPECT_EQ(g_events.front(), "load Kernel32.dll");
}

TEST_F(DllBinding, OrdinalsUseTheLowSixteenBits) {
    for (const char *name : {"#2", "#65538", "# +2", "#2abc"}) {
        SetUp();
        g_libraries["C:\\prog\\x.dll"] = {"#2"};
        HMODULE module = nullptr;
        FARPROC entry = nullptr;
        const char *library = "x.dll";
        const DllCommandLists lists{1, &library, &name, &module, &entry, "C:\\prog", ""};
        EXPECT_NE(BindDllCommand(lists, 0, kRecordingLoader), nullptr) << name;
        ASSERT_FALSE(g_events.empty()) << name;
        EXPECT_EQ(g_events.back(), "find #2 in C:\\prog\\x.dll") << name;
    }
    EXPECT_EQ(DllExportOrdinal("#-65534"), 2);
    EXPECT_EQ(DllExportOrdinal("#"), 0);
    EXPECT_EQ(DllExportOrdinal("Name#2"), -1);
}

TEST_F(DllBinding, ANamedLibraryIsLookedForInTheProgramFolderThenTheModuleFolderThenBare) {
    g_libraries["web.dll"] = {"Fetch"};
    const DllCommandLists lists = Lists("web.dll", "Fetch");
    EXPECT_NE(BindDllCommand(lists, 0, kRecordingLoader), nullptr);
    const std::vector<std::string> expected{"load C:\\prog\\web.dll", "load D:\\mod\\web.dll",
                                            "load web.dll", "find Fetch in web.dll"};
    EXPECT_EQ(g_events, expected);
}

TEST_F(DllBinding, TheModuleFolderIsSkippedWhenEmpty) {
    g_libraries["web.dll"] = {"Fetch"};
    const char *library = "web.dll";
    const char *exportName = "Fetch";
    HMODULE module = nullptr;
    FARPROC entry = nullptr;
    const DllCommandLists lists{1, &library, &exportName, &module, &entry, "C:\\prog", ""};
    BindDllCommand(lists, 0, kRecordingLoader);
    const std::vector<std::string> expected{"load C:\\prog\\web.dll", "load web.dll",
                                            "find Fetch in web.dll"};
    EXPECT_EQ(g_events, expected);
}

TEST_F(DllBinding, ANameWithADriveColonIsLoadedOnlyAsGiven) {
    g_libraries["E:\\libs\\web.dll"] = {"Fetch"};
    const DllCommandLists lists = Lists("E:\\libs\\web.dll", "Fetch");
    EXPECT_NE(BindDllCommand(lists, 0, kRecordingLoader), nullptr);
    const std::vector<std::string> expected{"load E:\\libs\\web.dll",
                                            "find Fetch in E:\\libs\\web.dll"};
    EXPECT_EQ(g_events, expected);
}

TEST_F(DllBinding, ASecondCallLoadsNothingAndEachIndexBindsOnItsOwn) {
    g_libraries["C:\\prog\\web.dll"] = {"Fetch"};
    const DllCommandLists lists = Lists("web.dll", "Fetch");
    const FARPROC first = BindDllCommand(lists, 0, kRecordingLoader);
    const size_t eventsAfterFirst = g_events.size();
    EXPECT_EQ(BindDllCommand(lists, 0, kRecordingLoader), first);
    EXPECT_EQ(g_events.size(), eventsAfterFirst);

    // The same library and export under another index loads again and keeps its own handle.
    EXPECT_NE(BindDllCommand(lists, 1, kRecordingLoader), nullptr);
    EXPECT_EQ(g_events.size(), eventsAfterFirst * 2);
    EXPECT_NE(modules[1], modules[0]);
}

TEST_F(DllBinding, AMissingExportInANamedLibraryUnloadsItAndNamesTheLibraryAsDeclared) {
    g_libraries["C:\\prog\\web.dll"] = {"Other"};
    const DllCommandLists lists = Lists("web.dll", "Fetch");
    try {
        BindDllCommand(lists, 0, kRecordingLoader);
        FAIL() << "binding succeeded";
    } catch (const BindingFailure &failure) {
        EXPECT_STREQ(failure.what(), "无法找到指定DLL库文件“web.dll”中的输出命令“Fetch”");
    }
    EXPECT_EQ(g_events.back(), "unload C:\\prog\\web.dll");
    EXPECT_EQ(entries[0], nullptr);
    EXPECT_EQ(modules[0], nullptr);
}

TEST_F(DllBinding, AMissingLibraryGivesTheSameMessage) {
    const DllCommandLists lists = Lists("absent.dll", "#7");
    try {
        BindDllCommand(lists, 0, kRecordingLoader);
        FAIL() << "binding succeeded";
    } catch (const BindingFailure &failure) {
        EXPECT_STREQ(failure.what(), "无法找到指定DLL库文件“absent.dll”中的输出命令“#7”");
    }
    EXPECT_EQ(g_events.size(), 3u); // program folder, module folder, bare name
}

TEST_F(DllBinding, AnExportInNoDefaultLibraryNamesOnlyTheExport) {
    const DllCommandLists lists = Lists(nullptr, "#2");
    try {
        BindDllCommand(lists, 0, kRecordingLoader);
        FAIL() << "binding succeeded";
    } catch (const BindingFailure &failure) {
        EXPECT_STREQ(failure.what(), "无法找到指定DLL库文件中的输出命令“#2”");
    }
}

TEST_F(DllBinding, AnIndexOutsideTheListsIsReportedNotRead) {
    const DllCommandLists lists = Lists("web.dll", "Fetch");
    EXPECT_THROW(BindDllCommand(lists, 2, kRecordingLoader), BindingFailure);
    EXPECT_TRUE(g_events.empty());
}

TEST_F(DllBinding, ALibraryTheSystemHoldsIsLoadedFromTheSystemEvenWithACopyBesideTheProgram) {
    g_systemLibraries = {"wininet.dll"};
    g_libraries["S:\\sys\\wininet.dll"] = {"InternetOpenA"};
    g_libraries["C:\\prog\\wininet.dll"] = {"InternetOpenA"};
    const DllCommandLists lists = Lists("wininet.dll", "InternetOpenA");
    EXPECT_NE(BindDllCommand(lists, 0, kRecordingLoader), nullptr);
    const std::vector<std::string> expected{"load S:\\sys\\wininet.dll",
                                            "find InternetOpenA in S:\\sys\\wininet.dll"};
    EXPECT_EQ(g_events, expected);
    EXPECT_EQ(NameOf(modules[0]), "S:\\sys\\wininet.dll");
}

TEST_F(DllBinding, ASystemLibraryThatWillNotLoadIsReportedNotReplacedByTheCopyBesideTheProgram) {
    g_systemLibraries = {"wininet.dll"};
    g_libraries["C:\\prog\\wininet.dll"] = {"InternetOpenA"};
    const DllCommandLists lists = Lists("wininet.dll", "InternetOpenA");
    try {
        BindDllCommand(lists, 0, kRecordingLoader);
        FAIL() << "binding succeeded";
    } catch (const BindingFailure &failure) {
        EXPECT_STREQ(failure.what(),
                     "无法找到指定DLL库文件“wininet.dll”中的输出命令“InternetOpenA”");
    }
    EXPECT_EQ(g_events, std::vector<std::string>{"load S:\\sys\\wininet.dll"});
}

TEST_F(DllBinding, DefaultLibrariesComeFromTheSystemDirectoryWhenItHoldsThem) {
    g_systemLibraries = {"Kernel32.dll", "Gdi32.dll"};
    g_libraries["S:\\sys\\Kernel32.dll"] = {"Other"};
    g_libraries["S:\\sys\\Gdi32.dll"] = {"Other"};
    g_libraries["User32.dll"] = {"MessageBoxA"};
    const DllCommandLists lists = Lists(nullptr, "MessageBoxA");
    EXPECT_NE(BindDllCommand(lists, 0, kRecordingLoader), nullptr);
    const std::vector<std::string> expected{"load S:\\sys\\Kernel32.dll",
                                            "find MessageBoxA in S:\\sys\\Kernel32.dll",
                                            "unload S:\\sys\\Kernel32.dll",
                                            "load S:\\sys\\Gdi32.dll",
                                            "find MessageBoxA in S:\\sys\\Gdi32.dll",
                                            "unload S:\\sys\\Gdi32.dll",
                                            "load User32.dll",
                                            "find MessageBoxA in User32.dll"};
    EXPECT_EQ(g_events, expected);
}

TEST(SystemLibraryFileName, AddsDllToANameWithoutExtensionAndRefusesFolders) {
    EXPECT_EQ(SystemLibraryFileName(L"wininet"), L"wininet.dll");
    EXPECT_EQ(SystemLibraryFileName(L"WININET.DLL"), L"WININET.DLL");
    EXPECT_EQ(SystemLibraryFileName(L"wininet."), L"wininet");
    EXPECT_EQ(SystemLibraryFileName(L"codec.v2"), L"codec.v2");
    EXPECT_EQ(SystemLibraryFileName(L"sub\\wininet.dll"), L"");
    EXPECT_EQ(SystemLibraryFileName(L"sub/wininet.dll"), L"");
    EXPECT_EQ(SystemLibraryFileName(L"C:wininet.dll"), L"");
    EXPECT_EQ(SystemLibraryFileName(L""), L"");
}

// The platform's system directory (under Wine the prefix's, which must hold the libraries the
// downloader binds).
std::wstring SystemFolder() {
    wchar_t folder[MAX_PATH];
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    return std::wstring(folder, length);
}

std::wstring ModuleFile(HMODULE module) {
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(module, path, MAX_PATH);
    return std::wstring(path, length);
}

TEST(LoadSystemLibrary, LoadsTheSystemDirectorysFileForANameWithOrWithoutExtension) {
    for (const char *name : {"wininet.dll", "WININET", "ole32.dll", "Mpr.dll", "kernel32"}) {
        HMODULE module = nullptr;
        ASSERT_TRUE(LoadSystemLibrary(name, &module)) << name;
        ASSERT_NE(module, nullptr) << name;
        const std::wstring file = ModuleFile(module);
        const std::wstring folder = SystemFolder() + L"\\";
        EXPECT_EQ(CompareStringOrdinal(file.c_str(), static_cast<int>(folder.size()),
                                       folder.c_str(), -1, TRUE),
                  CSTR_EQUAL)
            << name;
        FreeLibrary(module);
    }
}

TEST(LoadSystemLibrary, LeavesOtherNamesToTheDeclaredSearch) {
    for (const char *name : {"zv_test_exports.dll", "zv_absent_library.dll", "sub\\kernel32.dll",
                             "C:\\windows\\system32\\kernel32.dll", ""}) {
        HMODULE module = reinterpret_cast<HMODULE>(1);
        EXPECT_FALSE(LoadSystemLibrary(name, &module)) << name;
        EXPECT_EQ(module, reinterpret_cast<HMODULE>(1)) << name;
    }
}

HANDLE g_prepared = nullptr;
HANDLE g_finishPreparing = nullptr;
std::atomic<bool> g_preparationEnded{false};
void MarkPrepared() {
    SetEvent(g_prepared);
    WaitForSingleObject(g_finishPreparing, INFINITE);
    // A step that takes a while, as loading a type library does.
    Sleep(100);
    g_preparationEnded = true;
}

// The warm-up maps the system library the commands name, binds nothing, and never loads a
// library of the program's own (whose start-up code would then run before its first call). The
// program's library comes first in the lists; the preparations run on the same worker once the
// libraries are loaded, so when the one added here has run the worker has passed them all.
// Shutdown's release lets the worker end its step, then unmaps what it mapped.
TEST(LibraryWarmUp, MapsTheSystemsLibrariesNeverAProgramsOwnThenPreparesUntilReleased) {
    // Only the warm-up may bring the system's library into the process.
    ASSERT_EQ(GetModuleHandleA("wininet.dll"), nullptr);
    const HMODULE ownBefore = GetModuleHandleA("zv_test_exports.dll");
    const char *libraries[] = {"zv_test_exports.dll", "wininet.dll", "WININET", nullptr, ""};
    const char *exports[] = {"Twice", "InternetOpenA", "InternetOpenA", "GetTickCount", "Sleep"};
    HMODULE modules[5] = {};
    FARPROC entries[5] = {};
    g_prepared = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    g_finishPreparing = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    AddWarmUpPreparation(&MarkPrepared);
    StartLibraryWarmUp(DllCommandLists{5, libraries, exports, modules, entries, ".", ""});
    ASSERT_EQ(WaitForSingleObject(g_prepared, 10000), WAIT_OBJECT_0);
    CloseHandle(g_prepared);
    HMODULE wininet = GetModuleHandleA("wininet.dll");
    EXPECT_NE(wininet, nullptr);
    EXPECT_EQ(GetModuleHandleA("zv_test_exports.dll"), ownBefore);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(modules[i], nullptr) << i;
        EXPECT_EQ(entries[i], nullptr) << i;
    }

    // The worker is inside its preparation: the release returns once that has ended, and has
    // given the library back (nothing else holds it).
    SetEvent(g_finishPreparing);
    ReleaseLibraryWarmUp();
    EXPECT_TRUE(g_preparationEnded);
    EXPECT_EQ(GetModuleHandleA("wininet.dll"), nullptr) << "the warm-up's reference was released";
    CloseHandle(g_finishPreparing);
}

TEST_F(DllBinding, ReleaseUnloadsEveryBoundModuleOnceAndEmptiesTheLists) {
    g_libraries["C:\\prog\\web.dll"] = {"Fetch"};
    const DllCommandLists lists = Lists("web.dll", "Fetch");
    BindDllCommand(lists, 0, kRecordingLoader);
    g_events.clear();
    ReleaseDllCommandModules(lists, kRecordingLoader);
    EXPECT_EQ(g_events, std::vector<std::string>{"unload C:\\prog\\web.dll"});
    EXPECT_EQ(modules[0], nullptr);
    EXPECT_EQ(entries[0], nullptr);
}

} // namespace
