// The fixture of the regular-expression class's tests: the program's DLL commands bound for the
// test, an instance made and initialized as its user does, and the proof at the end that no
// heap block is left over and the component library's uses are balanced.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "app/regex/regex_object.h"
#include "program_constants.h"
#include "runtime/dll_binding.h"
#include "runtime/heap.h"
#include "runtime/heap_instrumentation.h"
#include "values/code_helpers.h"

namespace RegexTest {

inline const char *const kLibraries[] = {"wininet.dll", "wininet.dll", "wininet.dll", "wininet.dll",
                                         "wininet.dll", "wininet.dll", "wininet.dll", "wininet.dll",
                                         "ole32.dll",   "ole32.dll"};
inline const char *const kExports[] = {
    "InternetOpenA",    "InternetCloseHandle", "InternetConnectA", "HttpOpenRequestA",
    "HttpSendRequestA", "HttpSendRequestA",    "InternetReadFile", "HttpQueryInfoA",
    "CoInitialize",     "CoUninitialize"};
inline constexpr uint32_t kCommandCount = 10;

// A Text variable of the test: a heap copy, freed at the end.
class TextVariable {
public:
    explicit TextVariable(const char *text) : value_(CodeConcatTexts(1, text)) {}
    ~TextVariable() { FreeMemory(value_); }
    TextVariable(const TextVariable &) = delete;
    TextVariable &operator=(const TextVariable &) = delete;
    Text *address() { return &value_; }
    OptionalArgument given() { return {static_cast<uint32_t>(Word(&value_)), 1}; }

private:
    static uintptr_t Word(Text *variable) { return reinterpret_cast<uintptr_t>(variable); }
    Text value_;
};

inline OptionalArgument Given(uint32_t value) {
    return {value, 1};
}
inline constexpr OptionalArgument kLeftOut{0, 0};
inline OptionalArgument PositionOf(int32_t *variable) {
    return {static_cast<uint32_t>(reinterpret_cast<uintptr_t>(variable)), 1};
}

// The object's reference count, left as it was.
inline ULONG ReferenceCount(IUnknown *object) {
    object->AddRef();
    return object->Release();
}

// Takes a returned text and gives its bytes.
inline std::string Take(Text text) {
    std::string bytes = text != nullptr ? std::string(text) : std::string();
    FreeMemory(text);
    return bytes;
}

class RegexObjectTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetConstantSegment(ConstantSegment, kConstantSegmentSize);
        UseDllCommandLists(&lists_);
        liveBefore_ = HeapInstrumentation::LiveBlocks();
        regex_ = Regex::NewInstance();
        Regex::Initialize(&regex_);
    }
    void TearDown() override {
        regex_->operations->dispose(regex_);
        FreeMemory(regex_);
        EXPECT_EQ(HeapInstrumentation::LiveBlocks(), liveBefore_) << "a heap block left over";
        // Every use of the component library was closed: the thread starts it afresh.
        EXPECT_EQ(S_OK, CoInitialize(nullptr));
        CoUninitialize();
        ReleaseDllCommandModules(lists_, PlatformModuleLoader());
        UseDllCommandLists(nullptr);
        ForgetConstantSegment();
    }

    // Create with the options given as logical values; -1 leaves an option out.
    bool Create(const char *pattern, const char *subject, int caseSensitive = -1,
                int multiLine = -1, int global = -1, int quoteMarker = -1) {
        TextVariable patternVariable(pattern);
        TextVariable subjectVariable(subject);
        return regex_->operations->create(&regex_, patternVariable.address(),
                                          subjectVariable.address(), Option(caseSensitive),
                                          Option(multiLine), Option(global), Option(quoteMarker));
    }
    int32_t MatchCount() { return regex_->operations->matchCount(&regex_); }
    std::string MatchText(int32_t match) {
        return Take(regex_->operations->matchText(&regex_, match, kLeftOut));
    }
    std::string MatchText(int32_t match, int32_t *position) {
        return Take(regex_->operations->matchText(&regex_, match, PositionOf(position)));
    }
    std::string SubMatchText(int32_t match, int32_t group) {
        return Take(regex_->operations->subMatchText(&regex_, match, group, kLeftOut));
    }
    std::string SubMatchText(int32_t match, int32_t group, int32_t *position) {
        return Take(regex_->operations->subMatchText(&regex_, match, group, PositionOf(position)));
    }

    RegexObject *regex_ = nullptr;

private:
    static OptionalArgument Option(int value) {
        return value < 0 ? kLeftOut : Given(static_cast<uint32_t>(value));
    }

    HMODULE modules_[kCommandCount] = {};
    FARPROC entries_[kCommandCount] = {};
    DllCommandLists lists_{kCommandCount, kLibraries, kExports, modules_, entries_, ".", ""};
    int32_t liveBefore_ = 0;
};

} // namespace RegexTest
