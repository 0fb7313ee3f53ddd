// Internal commands through slot 12: MakeArrayWritable, the file search and the wait that keeps
// the windows alive.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "program_constants.h"
#include "runtime/heap.h"
#include "runtime/program_calls.h"
#include "runtime/runtime_app.h"
#include "runtime/windows_alive_wait.h"
#include "wiring/internal_commands.h"

namespace {

class ArrayWritableTest : public ::testing::Test {
protected:
    void SetUp() override { SetConstantSegment(ConstantSegment, kConstantSegmentSize); }
    void TearDown() override { ForgetConstantSegment(); }
};

TEST_F(ArrayWritableTest, AConstantArrayIsCopiedToTheHeap) {
    void *array = const_cast<void *>(ConstantBlock(Constant::EmptyArray));
    ProgramCall::MakeArrayWritable(4, &array);
    ASSERT_FALSE(IsConstantAddress(array));
    const auto *words = static_cast<const uint32_t *>(array);
    EXPECT_EQ(words[0], 1u);
    EXPECT_EQ(words[1], 0u);
    // Program code then grows it by one element.
    array = ProgramCall::ReallocateMemory(array, 8 + 4);
    ProgramCall::FreeMemory(array);
}

TEST_F(ArrayWritableTest, AHeapArrayIsLeftAlone) {
    auto *heapArray = static_cast<uint32_t *>(ProgramCall::AllocateMemory(12));
    heapArray[0] = 1;
    heapArray[1] = 1;
    heapArray[2] = 7;
    void *variable = heapArray;
    ProgramCall::MakeArrayWritable(4, &variable);
    EXPECT_EQ(variable, heapArray);
    ProgramCall::FreeMemory(heapArray);
}

class FileSearchTest : public ::testing::Test {
protected:
    void SetUp() override {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        dir_ = std::string(temp) + "zv_search_" + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(dir_.c_str(), nullptr);
        CreateDirectoryA((dir_ + "\\sub.txt").c_str(), nullptr);
        for (const char *name : {"a.txt", "b.txt", "c.dat"}) {
            HANDLE file = CreateFileA((dir_ + "\\" + name).c_str(), GENERIC_WRITE, 0, nullptr,
                                      CREATE_ALWAYS, FILE_ATTRIBUTE_ARCHIVE, nullptr);
            CloseHandle(file);
        }
    }
    void TearDown() override {
        for (const char *name : {"a.txt", "b.txt", "c.dat"}) {
            DeleteFileA((dir_ + "\\" + name).c_str());
        }
        RemoveDirectoryA((dir_ + "\\sub.txt").c_str());
        RemoveDirectoryA(dir_.c_str());
    }

    // Every name the search yields, continuing with an empty pattern.
    std::vector<std::string> SearchAll(const std::string &pattern, uint32_t mask, bool noDirs) {
        std::vector<std::string> names;
        void *slot = nullptr;
        char *name = ProgramCall::FileSearchStep(pattern.c_str(), mask, noDirs, &slot);
        while (name != nullptr) {
            names.push_back(name);
            ProgramCall::FreeMemory(name);
            name = ProgramCall::FileSearchStep(nullptr, mask, noDirs, &slot);
        }
        EXPECT_EQ(slot, nullptr) << "the slot is cleared when the entries run out";
        std::sort(names.begin(), names.end());
        return names;
    }

    std::string dir_;
};

TEST_F(FileSearchTest, ExcludingDirectoriesYieldsTheMatchingFiles) {
    EXPECT_EQ(SearchAll(dir_ + "\\*.txt", 0, true), (std::vector<std::string>{"a.txt", "b.txt"}));
}

TEST_F(FileSearchTest, TheMaskSelectsByAttribute) {
    EXPECT_EQ(SearchAll(dir_ + "\\*.txt", FILE_ATTRIBUTE_DIRECTORY, false),
              (std::vector<std::string>{"sub.txt"}));
    EXPECT_EQ(SearchAll(dir_ + "\\*", FILE_ATTRIBUTE_ARCHIVE, false),
              (std::vector<std::string>{"a.txt", "b.txt", "c.dat"}));
}

// A plain file on Windows reports FILE_ATTRIBUTE_NORMAL (Wine reports the archive bit), so a
// mask of 0 takes only entries that report no attribute at all.
TEST(FileSearchAccepts, AMaskOfZeroTakesOnlyEntriesWithoutAttributes) {
    EXPECT_TRUE(FileSearchAccepts(0, 0, false));
    EXPECT_FALSE(FileSearchAccepts(FILE_ATTRIBUTE_NORMAL, 0, false));
    EXPECT_FALSE(FileSearchAccepts(FILE_ATTRIBUTE_NOT_CONTENT_INDEXED, 0, false));
    EXPECT_FALSE(FileSearchAccepts(FILE_ATTRIBUTE_ARCHIVE, 0, false));
    EXPECT_TRUE(FileSearchAccepts(FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NORMAL,
                                  FILE_ATTRIBUTE_ARCHIVE, false));
    EXPECT_FALSE(FileSearchAccepts(FILE_ATTRIBUTE_NORMAL, FILE_ATTRIBUTE_NORMAL, false));
    EXPECT_TRUE(FileSearchAccepts(FILE_ATTRIBUTE_NORMAL, 0, true));
}

TEST_F(FileSearchTest, NoMatchAndNoHeldSearchGiveNull) {
    void *slot = nullptr;
    EXPECT_EQ(ProgramCall::FileSearchStep((dir_ + "\\*.none").c_str(), 0, true, &slot), nullptr);
    EXPECT_EQ(ProgramCall::FileSearchStep("", 0, true, &slot), nullptr);
    EXPECT_EQ(slot, nullptr);
}

TEST_F(FileSearchTest, ANewPatternClosesTheHeldSearch) {
    void *slot = nullptr;
    char *first = ProgramCall::FileSearchStep((dir_ + "\\*.txt").c_str(), 0, true, &slot);
    ASSERT_NE(first, nullptr);
    ProgramCall::FreeMemory(first);
    char *other = ProgramCall::FileSearchStep((dir_ + "\\*.dat").c_str(), 0, true, &slot);
    ASSERT_NE(other, nullptr);
    EXPECT_STREQ(other, "c.dat");
    ProgramCall::FreeMemory(other);
    ProgramCall::FileSearchClose(slot);
}

// A window standing in for the program's: it records what reaches it and signals the answer when
// it receives kAnswerMessage (so that the answer comes after everything queued before it). A
// close during a wait is the window unit's to handle (the window engine tests).
class WaitTest : public ::testing::Test {
protected:
    static constexpr UINT kAnswerMessage = WM_APP + 1;

    void SetUp() override {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = &Procedure;
        windowClass.lpszClassName = "ZvWaitTestWindow";
        RegisterClassA(&windowClass);
        window_ = CreateWindowExA(0, "ZvWaitTestWindow", "", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100,
                                  nullptr, nullptr, nullptr, nullptr);
        edit_ = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE, 0, 0, 100, 20, window_,
                                nullptr, nullptr, nullptr);
        answer_ = CreateEventA(nullptr, FALSE, FALSE, nullptr);
        seen_.clear();
    }
    void TearDown() override {
        DestroyWindow(window_);
        CloseHandle(answer_);
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        }
    }

    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == kAnswerMessage || message == WM_PAINT || message == WM_TIMER) {
            seen_.push_back({message, Runtime().eventSuppressionCount});
        }
        if (message == kAnswerMessage) {
            SetEvent(answer_);
            return 0;
        }
        return DefWindowProcA(window, message, wParam, lParam);
    }

    struct Seen {
        UINT message;
        LONG heldEvents;
    };
    static inline std::vector<Seen> seen_;
    static inline HANDLE answer_ = nullptr;
    HWND window_ = nullptr;
    HWND edit_ = nullptr;
};

TEST_F(WaitTest, TheAnswerEndsItWhileTimersAndMessagesAreServedWithEventsHeld) {
    const LONG held = Runtime().eventSuppressionCount;
    SetTimer(window_, 1, 1, nullptr);
    Sleep(20);
    PostMessageA(window_, kAnswerMessage, 0, 0);
    EXPECT_EQ(ProgramCall::WaitKeepingWindowsAlive(answer_, 10000), kWaitAnswered);
    KillTimer(window_, 1);
    EXPECT_FALSE(WindowsAliveWaitRunning());
    EXPECT_EQ(Runtime().eventSuppressionCount, held);
    EXPECT_TRUE(std::any_of(seen_.begin(), seen_.end(),
                            [](const Seen &seen) { return seen.message == kAnswerMessage; }));
    EXPECT_TRUE(std::any_of(seen_.begin(), seen_.end(),
                            [](const Seen &seen) { return seen.message == WM_TIMER; }));
    for (const Seen &seen : seen_) {
        EXPECT_EQ(seen.heldEvents, held + 1);
    }
}

TEST_F(WaitTest, WithoutAnAnswerItEndsAtTheDeadline) {
    const DWORD start = GetTickCount();
    EXPECT_EQ(ProgramCall::WaitKeepingWindowsAlive(answer_, 200), kWaitDeadlinePassed);
    EXPECT_GE(GetTickCount() - start, 190u);
}

TEST_F(WaitTest, AQuitMessageEndsItAndIsPostedAgain) {
    PostQuitMessage(3);
    EXPECT_EQ(ProgramCall::WaitKeepingWindowsAlive(answer_, 10000), kWaitInterrupted);
    MSG message;
    ASSERT_TRUE(PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(message.wParam, 3u);
}

TEST_F(WaitTest, KeysAndClicksDoNotReachTheContents) {
    SetWindowTextA(edit_, "typed");
    SendMessageA(edit_, EM_SETSEL, 0, -1);
    SendMessageA(edit_, WM_CHAR, 'x', 0); // an undoable change: "typed" becomes "x"
    // Alt held down; Wine's edit box reads it from bit 13 of the key data, Windows' from bit 29.
    const LPARAM altDown = (1 << 29) | 0x2000;
    PostMessageA(edit_, WM_SYSKEYDOWN, VK_BACK, altDown); // Alt+Backspace: undo
    PostMessageA(edit_, WM_SYSCHAR, VK_BACK, altDown);
    PostMessageA(edit_, WM_KEYDOWN, 'A', 0);
    PostMessageA(edit_, WM_CHAR, 'a', 0);
    PostMessageA(edit_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 1));
    PostMessageA(edit_, WM_LBUTTONUP, 0, MAKELPARAM(1, 1));
    PostMessageA(window_, kAnswerMessage, 0, 0);
    EXPECT_EQ(ProgramCall::WaitKeepingWindowsAlive(answer_, 10000), kWaitAnswered);
    char text[16] = {};
    GetWindowTextA(edit_, text, sizeof text);
    EXPECT_STREQ(text, "x");
}

TEST_F(WaitTest, OnlyWhatClosesMovesOrOpensTheWindowMenuPasses) {
    const auto refused = [](HWND window, UINT message, WPARAM key) {
        return IsInputRefusedDuringWait(MSG{window, message, key, 0, 0, {}});
    };
    EXPECT_FALSE(refused(edit_, WM_SYSKEYDOWN, VK_F4));
    EXPECT_FALSE(refused(edit_, WM_SYSKEYDOWN, VK_F10));
    EXPECT_FALSE(refused(edit_, WM_SYSKEYUP, VK_MENU));
    EXPECT_FALSE(refused(edit_, WM_SYSCHAR, ' '));
    EXPECT_FALSE(refused(window_, WM_NCLBUTTONDOWN, HTCAPTION));
    EXPECT_FALSE(refused(window_, WM_NCLBUTTONDOWN, HTCLOSE));
    EXPECT_FALSE(refused(window_, WM_PAINT, 0));
    EXPECT_TRUE(refused(edit_, WM_SYSKEYDOWN, VK_BACK));
    EXPECT_TRUE(refused(edit_, WM_SYSCHAR, 'a'));
    EXPECT_TRUE(refused(edit_, WM_KEYDOWN, VK_RETURN));
    EXPECT_TRUE(refused(edit_, WM_CHAR, ' '));
    EXPECT_TRUE(refused(window_, WM_RBUTTONUP, 0));
    EXPECT_TRUE(refused(edit_, WM_MOUSEWHEEL, 0));
    EXPECT_TRUE(refused(edit_, WM_NCLBUTTONDOWN, HTVSCROLL));
    EXPECT_TRUE(refused(edit_, WM_CONTEXTMENU, 0));
    EXPECT_TRUE(refused(edit_, WM_UNDO, 0));
    EXPECT_TRUE(refused(edit_, WM_IME_COMPOSITION, 0));
}

} // namespace
