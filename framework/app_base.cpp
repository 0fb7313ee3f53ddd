// The application object's default behaviour and the framework's process entry.
#include "framework/app_base.h"

#include "framework/window.h"

namespace {

CWinApp *gApplication = nullptr;

// Repainting and the system timer of caret blinking never start a new idle period.
constexpr UINT kSystemTimerMessage = 0x0118;

} // namespace

CWinApp::CWinApp() {
    gApplication = this;
}

CWinApp::~CWinApp() {
    if (gApplication == this) {
        gApplication = nullptr;
    }
}

CWinApp *AfxGetApp() {
    return gApplication;
}

BOOL CWinApp::InitInstance() {
    return TRUE;
}

BOOL CWinApp::PreTranslateMessage(MSG *message) {
    if (message->hwnd == nullptr) {
        return DispatchThreadMessage(message);
    }
    return PreTranslateThroughParents(message, m_pMainWnd != nullptr ? m_pMainWnd->m_hWnd : nullptr)
               ? TRUE
               : FALSE;
}

BOOL CWinApp::OnIdle(LONG) {
    // Temporary objects made for foreign windows live until the queue is next empty.
    CWnd::DeleteTempMap();
    return FALSE;
}

int CWinApp::ExitInstance() {
    return static_cast<int>(m_msgCur.wParam);
}

int CWinApp::Run() {
    for (;;) {
        LONG idleCount = 0;
        MSG peeked;
        while (!PeekMessageW(&peeked, nullptr, 0, 0, PM_NOREMOVE) && OnIdle(idleCount++)) {
        }
        do {
            if (!PumpMessage()) {
                return ExitInstance();
            }
        } while (PeekMessageW(&peeked, nullptr, 0, 0, PM_NOREMOVE));
    }
}

BOOL CWinApp::PumpMessage() {
    // Taken and dispatched wide: the ANSI pair would turn a typed character that the system's
    // code page lacks into "?" on its way to a wide window.
    // GetMessage answers -1 only for an invalid window filter, which this call never passes;
    // treating it like the quit message still ends the loop rather than spinning.
    if (GetMessageW(&m_msgCur, nullptr, 0, 0) <= 0) {
        return FALSE;
    }
    if (!PreTranslateMessage(&m_msgCur)) {
        TranslateMessage(&m_msgCur);
        DispatchMessageW(&m_msgCur);
    }
    return TRUE;
}

BOOL CWinApp::IsIdleMessage(MSG *message) {
    if (message->message == WM_MOUSEMOVE || message->message == WM_NCMOUSEMOVE) {
        const bool samePlace = message->message == lastMouseMessage_ &&
                               message->pt.x == lastMousePosition_.x &&
                               message->pt.y == lastMousePosition_.y;
        lastMouseMessage_ = message->message;
        lastMousePosition_ = message->pt;
        return !samePlace;
    }
    return message->message != WM_PAINT && message->message != kSystemTimerMessage;
}

BOOL CWinApp::DispatchThreadMessage(MSG *) {
    return FALSE;
}

int AfxWinMain(HINSTANCE instance) {
    CWinApp *app = AfxGetApp();
    if (app == nullptr) {
        return -1;
    }
    app->m_hInstance = instance;
    if (!app->InitInstance()) {
        if (app->m_pMainWnd != nullptr) {
            app->m_pMainWnd->DestroyWindow();
        }
        return app->ExitInstance();
    }
    return app->Run();
}
