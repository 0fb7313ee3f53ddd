// CWnd: the object receives its window's messages from the first one on, a subclassed control
// keeps its class behaviour, notifications reach the child's object, the final clean-up runs
// once after the window is gone and its outermost message has returned, and temporary objects
// live until DeleteTempMap.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "framework/window.h"

namespace {

constexpr wchar_t kClassName[] = L"ZvFrameworkTestWindow";

void RegisterTestClass() {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = &DefWindowProcW;
    windowClass.lpszClassName = kClassName;
    RegisterClassW(&windowClass);
}

// Records the messages it sees and its final clean-up.
class RecordingWindow : public CWnd {
public:
    std::vector<UINT> messages;
    int cleanUps = 0;
    HWND mappedAtCleanUp = reinterpret_cast<HWND>(1);

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        messages.push_back(message);
        return CWnd::WindowProc(message, wParam, lParam);
    }
    void PostNcDestroy() override {
        ++cleanUps;
        mappedAtCleanUp = m_hWnd;
    }
};

// A child that handles the reflected click of its control.
class ReflectedButton : public CWnd {
public:
    int clicks = 0;
    bool OnChildNotify(UINT message, WPARAM wParam, LPARAM, LRESULT *result) override {
        if (message != WM_COMMAND || HIWORD(wParam) != BN_CLICKED) {
            return false;
        }
        ++clicks;
        *result = 0;
        return true;
    }
};

TEST(FrameworkWindow, TheObjectSeesTheFirstMessageAndIsMapped) {
    RegisterTestClass();
    RecordingWindow window;
    ASSERT_TRUE(window.CreateEx(0, kClassName, L"", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr));
    ASSERT_FALSE(window.messages.empty());
    // WM_NCCREATE (or WM_GETMINMAXINFO before it) is the first message a window receives.
    EXPECT_TRUE(window.messages.front() == WM_NCCREATE ||
                window.messages.front() == WM_GETMINMAXINFO);
    EXPECT_EQ(CWnd::FromHandlePermanent(window.m_hWnd), &window);
    EXPECT_TRUE(window.DestroyWindow());
}

TEST(FrameworkWindow, FinalCleanUpRunsOnceAfterTheWindowIsUnmapped) {
    RegisterTestClass();
    RecordingWindow window;
    ASSERT_TRUE(window.CreateEx(0, kClassName, L"", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr));
    HWND handle = window.m_hWnd;
    EXPECT_TRUE(window.DestroyWindow());
    EXPECT_EQ(window.cleanUps, 1);
    EXPECT_EQ(window.mappedAtCleanUp, nullptr);
    EXPECT_EQ(CWnd::FromHandlePermanent(handle), nullptr);
    EXPECT_EQ(window.messages.back(), static_cast<UINT>(WM_NCDESTROY));
    EXPECT_FALSE(window.DestroyWindow());
}

// An object on pages of its own that a delete leaves mapped but read-only: a write into the
// object after its delete faults, and the handler below counts it and lets it through, where a
// heap block would have been corrupted silently.
class GuardedWindow : public CWnd {
public:
    static void *operator new(size_t bytes) {
        return VirtualAlloc(nullptr, bytes, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
    }
    static void operator delete(void *object) {
        DWORD old;
        VirtualProtect(object, sizeof(GuardedWindow), PAGE_READONLY, &old);
        deleted = object;
    }
    static inline void *deleted = nullptr;
    static inline int writesAfterDelete = 0;

    // A write into the deleted object: counted, then the page is made writable again so that
    // the faulting instruction completes.
    static LONG CALLBACK CountWriteAfterDelete(EXCEPTION_POINTERS *exception) {
        const EXCEPTION_RECORD &record = *exception->ExceptionRecord;
        const auto *address = reinterpret_cast<const char *>(record.ExceptionInformation[1]);
        const auto *object = static_cast<const char *>(deleted);
        if (record.ExceptionCode != EXCEPTION_ACCESS_VIOLATION || object == nullptr ||
            address < object || address >= object + sizeof(GuardedWindow)) {
            return EXCEPTION_CONTINUE_SEARCH;
        }
        ++writesAfterDelete;
        DWORD old;
        VirtualProtect(deleted, sizeof(GuardedWindow), PAGE_READWRITE, &old);
        return EXCEPTION_CONTINUE_EXECUTION;
    }

protected:
    // Closing destroys the window from inside the close message, as a form does.
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_CLOSE) {
            DestroyWindow();
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
    void PostNcDestroy() override { delete this; }
};

TEST(FrameworkWindow, AnObjectDestroyingItsWindowFromItsHandlerIsDeletedAfterTheHandler) {
    RegisterTestClass();
    PVOID handler = AddVectoredExceptionHandler(1, &GuardedWindow::CountWriteAfterDelete);
    auto *window = new GuardedWindow;
    ASSERT_TRUE(window->CreateEx(0, kClassName, L"", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr));
    HWND handle = window->m_hWnd;
    SendMessageA(handle, WM_CLOSE, 0, 0);
    RemoveVectoredExceptionHandler(handler);
    EXPECT_FALSE(IsWindow(handle));
    EXPECT_EQ(GuardedWindow::deleted, window);
    EXPECT_EQ(GuardedWindow::writesAfterDelete, 0);
    EXPECT_EQ(CWnd::FromHandlePermanent(handle), nullptr);
    VirtualFree(GuardedWindow::deleted, 0, MEM_RELEASE);
}

TEST(FrameworkWindow, ClickOfASubclassedControlIsReflectedToItsObject) {
    RegisterTestClass();
    RecordingWindow parent;
    ASSERT_TRUE(parent.CreateEx(0, kClassName, L"", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr));
    ReflectedButton button;
    ASSERT_TRUE(button.CreateEx(0, L"BUTTON", L"按钮", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 0, 0,
                                80, 30, parent.m_hWnd, reinterpret_cast<HMENU>(100)));
    // The control keeps its class behaviour: it answers its text.
    char text[16] = {};
    GetWindowTextA(button.m_hWnd, text, sizeof text);
    EXPECT_STREQ(text, "按钮");
    SendMessageA(parent.m_hWnd, WM_COMMAND, MAKEWPARAM(100, BN_CLICKED),
                 reinterpret_cast<LPARAM>(button.m_hWnd));
    EXPECT_EQ(button.clicks, 1);
    // Another notification is not the child's: the parent handles it.
    SendMessageA(parent.m_hWnd, WM_COMMAND, MAKEWPARAM(100, BN_SETFOCUS),
                 reinterpret_cast<LPARAM>(button.m_hWnd));
    EXPECT_EQ(button.clicks, 1);
    parent.DestroyWindow();
    EXPECT_EQ(button.m_hWnd, nullptr);
}

TEST(FrameworkWindow, ForeignWindowsGetTemporaryObjectsUntilDeleteTempMap) {
    HWND foreign =
        CreateWindowExA(0, "STATIC", "", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    CWnd *temporary = CWnd::FromHandle(foreign);
    ASSERT_NE(temporary, nullptr);
    EXPECT_EQ(temporary->m_hWnd, foreign);
    EXPECT_EQ(CWnd::FromHandle(foreign), temporary);
    EXPECT_EQ(CWnd::FromHandlePermanent(foreign), nullptr);
    CWnd::DeleteTempMap();
    EXPECT_EQ(CWnd::FromHandle(nullptr), nullptr);
    EXPECT_TRUE(IsWindow(foreign));
    DestroyWindow(foreign);
}

TEST(FrameworkWindow, AttachMapsWithoutSubclassingAndDetachUnmaps) {
    HWND foreign =
        CreateWindowExA(0, "STATIC", "", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    const LONG_PTR procedure = GetWindowLongPtrA(foreign, GWLP_WNDPROC);
    CWnd object;
    ASSERT_TRUE(object.Attach(foreign));
    EXPECT_EQ(GetWindowLongPtrA(foreign, GWLP_WNDPROC), procedure);
    CWnd other;
    EXPECT_FALSE(other.Attach(foreign));
    EXPECT_EQ(object.Detach(), foreign);
    EXPECT_EQ(CWnd::FromHandlePermanent(foreign), nullptr);
    DestroyWindow(foreign);
}

} // namespace
