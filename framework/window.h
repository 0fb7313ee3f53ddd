// CWnd: the framework's window object. One HWND-to-object map (permanent objects, and temporary
// ones for foreign windows); creation that attaches the object before the first message;
// subclassing of platform controls; reflection of notifications to the child's object; one
// final clean-up hook after the platform window is gone; and the pre-translation walk.
#pragma once

#include <windows.h>

class CWnd {
public:
    CWnd() = default;
    CWnd(const CWnd &) = delete;
    CWnd &operator=(const CWnd &) = delete;
    virtual ~CWnd();

    HWND m_hWnd = nullptr;

    // The permanent object of a window, or null when the framework does not know it.
    static CWnd *FromHandlePermanent(HWND window);
    // The permanent object, else a temporary one that lives until DeleteTempMap.
    static CWnd *FromHandle(HWND window);
    // Frees the temporary objects (called at idle time).
    static void DeleteTempMap();

    // Maps an existing window to this object without changing its window procedure.
    bool Attach(HWND window);
    HWND Detach();
    // Maps the window to this object and routes its messages through WindowProc; the window's
    // own procedure stays reachable through DefWindowProc.
    bool SubclassWindow(HWND window);
    HWND UnsubclassWindow();

    // Creates the platform window with this object receiving every message from the first one.
    // Framework windows are wide windows: their texts and typed characters are UTF-16.
    bool CreateEx(DWORD exStyle, const wchar_t *className, const wchar_t *title, DWORD style, int x,
                  int y, int width, int height, HWND parentOrOwner, HMENU menuOrId);
    bool DestroyWindow();

    // A queued message for this window or a descendant, before it is dispatched; true takes it.
    virtual BOOL PreTranslateMessage(MSG *message);
    // A command, control-colour or notify message that the parent reflected to this child;
    // true with *result set handles it, false lets the parent handle it.
    virtual bool OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT *result);

    // The window procedure that every framework window uses.
    static LRESULT CALLBACK FrameworkWindowProc(HWND window, UINT message, WPARAM wParam,
                                                LPARAM lParam);

protected:
    // The object's message handling; the base reflects notifications to the child's object and
    // hands everything else to DefWindowProc.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Asked before WindowProc, whichever loop dispatched the message or whoever sent it: true
    // drops the message, answered with 0, as a disabled window drops input.
    virtual bool RefusesMessage(UINT, WPARAM, LPARAM) { return false; }
    // The window's original procedure (the class's, for subclassed controls).
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // DefWindowProc with the message currently being handled.
    LRESULT Default();
    // The object's final clean-up, called once after WM_NCDESTROY, when the platform window is
    // gone, the object unmapped and the outermost message being handled for it has returned:
    // an override may delete the object, since no frame of its window procedure is left to
    // touch it.
    virtual void PostNcDestroy();

private:
    bool ReflectToChild(UINT message, WPARAM wParam, LPARAM lParam, LRESULT *result);

    WNDPROC superProc_ = nullptr;
    MSG currentMessage_ = {};
    // Messages of this object's window being handled, nested ones included.
    int messageDepth_ = 0;
    // WM_NCDESTROY came while messageDepth_ was above 1: PostNcDestroy waits for the outermost.
    bool finalCleanUpDue_ = false;
};

// Asked of a window that the framework does not map: unit windows answer with the address of
// their object, other windows answer 0.
inline constexpr UINT kFindUnitObjectMessage = 0x8002;

// The pre-translation walk: from the message's window up through its parents, each window's
// object (or, for a window without one, the object that kFindUnitObjectMessage returns) is
// offered the message; the first that takes it ends the walk, which stops after stopAfter.
bool PreTranslateThroughParents(MSG *message, HWND stopAfter);
