// CWinApp: the application part of our framework stand-in. One application object per process;
// the process entry (AfxWinMain) drives its InitInstance, Run and ExitInstance.
#pragma once

#include <windows.h>

class CWnd;

class CWinApp {
public:
    CWinApp();
    virtual ~CWinApp();
    CWinApp(const CWinApp &) = delete;
    CWinApp &operator=(const CWinApp &) = delete;

    virtual BOOL InitInstance();
    // Called for every message before it is translated and dispatched; true when handled.
    virtual BOOL PreTranslateMessage(MSG *message);
    // Idle processing while the queue is empty; true asks for another idle call.
    virtual BOOL OnIdle(LONG idleCount);
    // The process exit code: the wParam of the last message taken from the queue.
    virtual int ExitInstance();
    // The standard loop, used when InitInstance succeeds: idle while the queue is empty, pump
    // until the quit message, then ExitInstance.
    virtual int Run();

    // Gets, pre-translates and dispatches one message; false on the quit message.
    BOOL PumpMessage();
    // Whether a message ends an idle period (repeated mouse moves and painting do not).
    BOOL IsIdleMessage(MSG *message);
    // Thread messages (no window) that the framework itself handles: none in this framework.
    BOOL DispatchThreadMessage(MSG *message);

    HINSTANCE m_hInstance = nullptr;
    CWnd *m_pMainWnd = nullptr;
    MSG m_msgCur{};

private:
    POINT lastMousePosition_{-1, -1};
    UINT lastMouseMessage_ = 0;
};

// The process's application object (set by its constructor).
CWinApp *AfxGetApp();
// The framework's process entry: initialise, InitInstance, then Run or (when InitInstance
// returns 0) destroy the main window and ExitInstance. The result is the process exit code.
int AfxWinMain(HINSTANCE instance);
