// The downloader's main window and click written directly against Win32 and WinInet, with no
// runtime between them: the baseline that the benchmarks hold the real program against. The
// window, its controls, their sizes, styles, texts, fonts and icon are those of the program's
// window description; the control ids are those the program gives its units, so the same driver
// works both. Built in two modes: the click as the downloader's contract writes it (1,024-byte
// reads, "VBScript.RegExp" called by name), and, with ZV_MINIMAL_AT_ITS_BEST, the click the
// fastest way this platform allows (64 KiB reads into one growing buffer, the program's own
// regular-expression engine called directly, no COM at all).
#include <windows.h>

#include <string>

#include "bench/minimal_downloader/track_links.h"

namespace {

constexpr int kUrlBoxId = 100;
constexpr int kButtonId = 120;
constexpr int kOutputBoxId = 130;
constexpr int kIconResourceId = 1;
constexpr int kWindowWidth = 796;
constexpr int kWindowHeight = 446;
constexpr COLORREF kNoticeColour = 0x0000FF;
#ifdef ZV_MINIMAL_AT_ITS_BEST
constexpr DWORD kReadBytes = 64 * 1024; // the most one InternetReadFile hands out here
#else
constexpr DWORD kReadBytes = 1024; // the downloader's contract
#endif
// The window description's texts (the build turns them into code page 936).
constexpr char kTitle[] = "Zorvin网音乐下载器-Varo";
constexpr char kExample[] = "示例：http://dj.zorvin.cn/dance/play/348872.html";
constexpr char kNotice[] = "Zorvin网音乐下载器，纯属练习学习，一切后果与作者无关！^_^ !";
constexpr char kButtonText[] = "我要下载";
constexpr char kUrlLabel[] = "输入下载歌曲地址";
constexpr char kFontName[] = "微软雅黑";

HFONT gNoticeFont = nullptr;
HFONT gOutputFont = nullptr;
HWND gNotice = nullptr;

// As the program's units make a font from their stored record: character set forced to the
// default, precisions 0, proof quality, pitch and family 0.
HFONT ProgramFont(int height) {
    return CreateFontA(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0,
                       PROOF_QUALITY, 0, kFontName);
}

HWND Control(HWND parent, const char *className, const char *text, DWORD style, DWORD exStyle,
             int id, int left, int top, int width, int height, HFONT font) {
    HWND control = CreateWindowExA(
        exStyle, className, text, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | style, left, top, width,
        height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
        GetModuleHandleA(nullptr), nullptr);
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return control;
}

// The units in the description's order, which is the z-order from the top.
void CreateControls(HWND window) {
    const auto guiFont = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    gNoticeFont = ProgramFont(-20);
    gOutputFont = ProgramFont(-21);
    Control(window, "STATIC", kExample, SS_LEFT, 0, 0, 128, 64, 552, 32, guiFont);
    gNotice = Control(window, "STATIC", kNotice, SS_CENTER | SS_CENTERIMAGE, 0, 0, 8, 328, 776, 80,
                      gNoticeFont);
    Control(window, "EDIT", "",
            WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | ES_NOHIDESEL,
            WS_EX_CLIENTEDGE, kOutputBoxId, 8, 112, 776, 200, gOutputFont);
    Control(window, "BUTTON", kButtonText, WS_TABSTOP | BS_PUSHBUTTON | BS_MULTILINE, 0, kButtonId,
            704, 16, 80, 32, guiFont);
    Control(window, "STATIC", kUrlLabel, SS_LEFT, 0, 0, 16, 24, 112, 24, guiFont);
    Control(window, "EDIT", "", WS_TABSTOP | ES_AUTOHSCROLL | ES_NOHIDESEL, WS_EX_CLIENTEDGE,
            kUrlBoxId, 128, 16, 552, 32, guiFont);
}

std::string ControlText(HWND control) {
    std::string text(static_cast<size_t>(GetWindowTextLengthA(control)) + 1, '\0');
    text.resize(
        static_cast<size_t>(GetWindowTextA(control, text.data(), static_cast<int>(text.size()))));
    return text;
}

// The click: fetch the typed address, find the track list, show its three lines. A failed
// fetch or a page without a list leaves the output box as it was.
void DownloadClicked(HWND window) {
    const std::string page =
        FetchPageDirectly(ControlText(GetDlgItem(window, kUrlBoxId)), kReadBytes);
#ifdef ZV_MINIMAL_AT_ITS_BEST
    const std::string lines = TrackLinesOfPageDirectly(page);
#else
    const std::string lines = TrackLinesOfPage(page);
#endif
    if (!lines.empty()) {
        SetWindowTextA(GetDlgItem(window, kOutputBoxId), lines.c_str());
    }
}

LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        CreateControls(window);
        return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) == kButtonId && HIWORD(wParam) == BN_CLICKED) {
            DownloadClicked(window);
            return 0;
        }
        break;
    case WM_CTLCOLORSTATIC:
        if (reinterpret_cast<HWND>(lParam) == gNotice) {
            SetTextColor(reinterpret_cast<HDC>(wParam), kNoticeColour);
            SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
            return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
        }
        break;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
#ifndef ZV_MINIMAL_AT_ITS_BEST
    OleInitialize(nullptr);
#endif
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = &WindowProcedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(kIconResourceId));
    windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)); // IDC_ARROW
    windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    windowClass.lpszClassName = "ZvMinimalDownloader";
    RegisterClassA(&windowClass);
    // Fixed border with caption, system menu and minimise box, centred on the screen.
    HWND window = CreateWindowExA(WS_EX_DLGMODALFRAME, windowClass.lpszClassName, kTitle,
                                  WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN,
                                  (GetSystemMetrics(SM_CXSCREEN) - kWindowWidth) / 2,
                                  (GetSystemMetrics(SM_CYSCREEN) - kWindowHeight) / 2, kWindowWidth,
                                  kWindowHeight, nullptr, nullptr, instance, nullptr);
    ShowWindow(window, SW_SHOW);
    SetFocus(GetDlgItem(window, kUrlBoxId));
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (!IsDialogMessageA(window, &message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    DeleteObject(gNoticeFont);
    DeleteObject(gOutputFont);
#ifndef ZV_MINIMAL_AT_ITS_BEST
    OleUninitialize();
#endif
    return static_cast<int>(message.wParam);
}
