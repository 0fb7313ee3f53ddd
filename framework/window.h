// CWnd: the framework's window object. One map turns an HWND into its object; a window created
// through CreateEx is subclassed so that its messages reach the object's WindowProc.
#pragma once

#include <windows.h>

class CWnd {
public:
    CWnd() = default;
    virtual ~CWnd();
    CWnd(const CWnd &) = delete;
    CWnd &operator=(const CWnd &) = delete;

    // The object that owns window, or null when the framework does not know it.
    static CWnd *FromHandlePermanent(HWND window);

    BOOL CreateEx(DWORD exStyle, const char *className, const char *title, DWORD style, int x,
                  int y, int width, int height, HWND parent, HMENU menu);
    BOOL DestroyWindow();
    virtual BOOL PreTranslateMessage(MSG *message);

    HWND m_hWnd = nullptr;

protected:
    // Handles one message; the default passes it to the window's original procedure.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK FrameworkWindowProc(HWND window, UINT message, WPARAM wParam,
                                                LPARAM lParam);
    void Attach(HWND window);
    void Detach();

    WNDPROC originalProc_ = nullptr;
};
