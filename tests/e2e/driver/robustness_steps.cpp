// The driver's steps for unfriendly input and servers (see robustness_steps.h).
#include "tests/e2e/driver/robustness_steps.h"

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <vector>

namespace {

bool Fail(const char *step, const std::string &detail) {
    std::printf("FAIL %s: %s\n", step, detail.c_str());
    return false;
}

HWND Control(const StepContext &context, const wchar_t *id) {
    return GetDlgItem(context.current, static_cast<int>(std::wcstol(id, nullptr, 0)));
}

// The processor time (user and kernel) the last timed click cost the window's thread, for a
// click compared with it.
ULONGLONG gLastClickProcessorMilliseconds = 0;

// Processor time the thread of window has used so far, in milliseconds; false when it cannot be
// read. Unlike the wall clock, it does not grow while other processes hold the processor.
bool ThreadProcessorMilliseconds(HWND window, ULONGLONG &milliseconds) {
    const DWORD threadId = GetWindowThreadProcessId(window, nullptr);
    HANDLE thread = OpenThread(THREAD_QUERY_LIMITED_INFORMATION, FALSE, threadId);
    if (thread == nullptr) {
        return false;
    }
    FILETIME created, exited, kernel, user;
    const bool read = GetThreadTimes(thread, &created, &exited, &kernel, &user) != 0;
    CloseHandle(thread);
    const auto ticks = [](const FILETIME &time) {
        return (static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    };
    constexpr ULONGLONG kTicksPerMillisecond = 10000;
    milliseconds = (ticks(kernel) + ticks(user)) / kTicksPerMillisecond;
    return read;
}

// Sent with a time limit: the step returns when the handler has returned or the limit is up. A
// click handled sooner than minimumText milliseconds fails as well (null: no minimum). Prints the
// click's wall time and the processor time it cost the window's thread.
bool ClickTimed(const StepContext &context, const wchar_t *id, const wchar_t *limitText,
                const wchar_t *minimumText) {
    HWND button = Control(context, id);
    if (button == nullptr) {
        return Fail("clicktimed", "the current window has no such control");
    }
    ULONGLONG processorBefore = 0;
    if (!ThreadProcessorMilliseconds(button, processorBefore)) {
        return Fail("clicktimed", "the processor time of the window's thread cannot be read");
    }
    const auto limit = static_cast<UINT>(std::wcstol(limitText, nullptr, 10));
    const ULONGLONG start = GetTickCount64();
    DWORD_PTR result = 0;
    const LRESULT handled =
        SendMessageTimeoutA(button, BM_CLICK, 0, 0, SMTO_NORMAL, limit, &result);
    const ULONGLONG elapsed = GetTickCount64() - start;
    if (handled == 0) {
        return Fail("clicktimed",
                    "the window was still blocked after " + std::to_string(elapsed) + " ms");
    }
    ULONGLONG processorAfter = 0;
    ThreadProcessorMilliseconds(button, processorAfter);
    gLastClickProcessorMilliseconds = processorAfter - processorBefore;
    std::printf("clicktimed: the click took %llu ms, %llu ms of the window thread's processor "
                "time\n",
                elapsed, gLastClickProcessorMilliseconds);
    std::fflush(stdout);
    if (minimumText != nullptr && elapsed < std::wcstoull(minimumText, nullptr, 10)) {
        return Fail("clicktimed", "the click ended sooner than " +
                                      std::to_string(std::wcstoull(minimumText, nullptr, 10)) +
                                      " ms");
    }
    return true;
}

bool TextEither(const StepContext &context, const wchar_t *id, const wchar_t *first,
                const wchar_t *second) {
    HWND control = Control(context, id);
    if (control == nullptr) {
        return Fail("text-either", "the current window has no such control");
    }
    const std::string actual = context.windowText(control);
    const std::string a = context.unescape(first);
    const std::string b = context.unescape(second);
    if (actual == a || actual == b) {
        std::printf("text-either: the %s text\n", actual == a ? "first" : "second");
        return true;
    }
    return Fail("text-either", "expected \"" + context.show(a) + "\" or \"" + context.show(b) +
                                   "\", read \"" + context.show(actual) + "\"");
}

bool SetLongText(const StepContext &context, const wchar_t *id, const wchar_t *bytesText,
                 const wchar_t *prefix) {
    HWND control = Control(context, id);
    if (control == nullptr) {
        return Fail("settext-long", "the current window has no such control");
    }
    std::string text = context.unescape(prefix);
    text.resize(std::max<size_t>(text.size(), std::wcstoul(bytesText, nullptr, 10)), 'a');
    SendMessageA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    std::vector<char> held(text.size() + 2);
    const auto length = static_cast<size_t>(
        SendMessageA(control, WM_GETTEXT, held.size(), reinterpret_cast<LPARAM>(held.data())));
    if (std::string(held.data(), length) != text) {
        return Fail("settext-long", "the control holds " + std::to_string(length) +
                                        " bytes, not the " + std::to_string(text.size()) + " set");
    }
    return true;
}

// The slowest answer is printed as the figure to watch.
bool Answers(const StepContext &context, const wchar_t *durationText, const wchar_t *limitText) {
    const auto kAnswerLimitMilliseconds = static_cast<UINT>(std::wcstoul(limitText, nullptr, 10));
    constexpr DWORD kSampleMilliseconds = 100;
    const ULONGLONG end = GetTickCount64() + std::wcstoul(durationText, nullptr, 10);
    ULONGLONG slowest = 0;
    int samples = 0;
    do {
        const ULONGLONG start = GetTickCount64();
        DWORD_PTR result = 0;
        if (SendMessageTimeoutA(context.current, WM_NULL, 0, 0, SMTO_NORMAL,
                                kAnswerLimitMilliseconds, &result) == 0) {
            return Fail("answers", "no answer within " + std::to_string(kAnswerLimitMilliseconds) +
                                       " ms at sample " + std::to_string(samples + 1));
        }
        slowest = std::max(slowest, GetTickCount64() - start);
        ++samples;
        Sleep(kSampleMilliseconds);
    } while (GetTickCount64() < end);
    std::printf("answers: %d samples, the slowest answer took %llu ms\n", samples, slowest);
    std::fflush(stdout);
    return true;
}

// The click of clickbegin: its button, and the thread that sends it.
struct BegunClick {
    HWND button = nullptr;
    HANDLE thread = nullptr;
} gBegunClick;

DWORD WINAPI SendClick(void *) {
    DWORD_PTR result = 0;
    SendMessageTimeoutA(gBegunClick.button, BM_CLICK, 0, 0, SMTO_NORMAL, INFINITE, &result);
    return 0;
}

bool ClickBegin(const StepContext &context, const wchar_t *id) {
    gBegunClick.button = Control(context, id);
    if (gBegunClick.button == nullptr || gBegunClick.thread != nullptr) {
        return Fail("clickbegin", "needs a control of the current window and no click begun");
    }
    gBegunClick.thread = CreateThread(nullptr, 0, &SendClick, nullptr, 0, nullptr);
    return gBegunClick.thread != nullptr || Fail("clickbegin", "cannot start the thread");
}

bool ClickEnd(const wchar_t *limitText) {
    if (gBegunClick.thread == nullptr) {
        return Fail("clickend", "no click was begun");
    }
    if (WaitForSingleObject(gBegunClick.thread, std::wcstoul(limitText, nullptr, 10)) !=
        WAIT_OBJECT_0) {
        return Fail("clickend", "the program has not finished handling the click");
    }
    CloseHandle(gBegunClick.thread);
    gBegunClick.thread = nullptr;
    return true;
}

bool TextWithin(const StepContext &context, const wchar_t *id, const wchar_t *limitText,
                const wchar_t *expectedText) {
    HWND control = Control(context, id);
    if (control == nullptr) {
        return Fail("text-within", "the current window has no such control");
    }
    const std::string expected = context.unescape(expectedText);
    const ULONGLONG end = GetTickCount64() + std::wcstoul(limitText, nullptr, 10);
    std::string actual = context.windowText(control);
    while (actual != expected && GetTickCount64() < end) {
        Sleep(20);
        actual = context.windowText(control);
    }
    return actual == expected ||
           Fail("text-within", "expected \"" + context.show(expected) + "\", read \"" +
                                   context.show(actual) + "\"");
}

bool NeedsPainting(HWND window) {
    if (GetUpdateRect(window, nullptr, FALSE)) {
        return true;
    }
    for (HWND child = GetWindow(window, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        if (IsWindowVisible(child) && GetUpdateRect(child, nullptr, FALSE)) {
            return true;
        }
    }
    return false;
}

bool Paints(const StepContext &context, const wchar_t *limitText) {
    constexpr DWORD kPollMilliseconds = 20;
    RedrawWindow(context.current, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    if (!NeedsPainting(context.current)) {
        return Fail("paints", "the window cannot be made invalid from outside");
    }
    const ULONGLONG start = GetTickCount64();
    const ULONGLONG end = start + std::wcstoul(limitText, nullptr, 10);
    while (NeedsPainting(context.current)) {
        if (GetTickCount64() >= end) {
            return Fail("paints", "the window has not painted itself");
        }
        Sleep(kPollMilliseconds);
    }
    std::printf("paints: painted within %llu ms\n", GetTickCount64() - start);
    std::fflush(stdout);
    return true;
}

bool Type(const StepContext &context, const wchar_t *id, const wchar_t *text) {
    HWND control = Control(context, id);
    if (control == nullptr) {
        return Fail("type", "the current window has no such control");
    }
    for (wchar_t c : context.unescapeWide(text)) {
        PostMessageW(control, WM_CHAR, c, 1);
    }
    return true;
}

bool Poke(const StepContext &context, const wchar_t *id) {
    HWND control = Control(context, id);
    if (control == nullptr) {
        return Fail("poke", "the current window has no such control");
    }
    // Alt held down: Wine's edit box reads it from bit 13 of the key data, Windows' from bit 29.
    constexpr LPARAM kAltDown = (1 << 29) | 0x2000;
    constexpr LPARAM kKeyUp = static_cast<LPARAM>(0xC0000001);
    PostMessageA(control, WM_SYSKEYDOWN, VK_BACK, kAltDown | 1);
    PostMessageA(control, WM_SYSKEYUP, VK_BACK, kKeyUp | kAltDown);
    for (WPARAM key : {WPARAM{'Z'}, WPARAM{VK_SPACE}, WPARAM{VK_RETURN}}) {
        PostMessageA(control, WM_KEYDOWN, key, 1);
        PostMessageA(control, WM_KEYUP, key, kKeyUp);
    }
    PostMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    PostMessageA(control, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    return true;
}

} // namespace

std::optional<bool> RunRobustnessStep(const StepContext &context, const std::wstring &step,
                                      const std::function<const wchar_t *()> &take) {
    if (step == L"answers") {
        const wchar_t *milliseconds = take();
        const wchar_t *limit = take();
        if (context.current == nullptr || limit == nullptr) {
            return Fail("answers", "needs a current window, a duration and a limit");
        }
        return Answers(context, milliseconds, limit);
    }
    if (step == L"paints" || step == L"clickend") {
        const wchar_t *milliseconds = take();
        if (context.current == nullptr || milliseconds == nullptr) {
            return Fail("arguments", "needs a current window and a time in milliseconds");
        }
        return step == L"paints" ? Paints(context, milliseconds) : ClickEnd(milliseconds);
    }
    if (step == L"clickbegin") {
        const wchar_t *id = take();
        return context.current != nullptr && id != nullptr
                   ? ClickBegin(context, id)
                   : Fail("clickbegin", "needs a current window and a control id");
    }
    if (step == L"text-within") {
        const wchar_t *id = take();
        const wchar_t *limit = take();
        const wchar_t *text = take();
        return context.current != nullptr && text != nullptr
                   ? TextWithin(context, id, limit, text)
                   : Fail("text-within", "needs a current window, a control id, a time and a text");
    }
    if (step == L"poke") {
        const wchar_t *id = take();
        if (context.current == nullptr || id == nullptr) {
            return Fail("poke", "needs a current window and a control id");
        }
        return Poke(context, id);
    }
    if (step != L"clicktimed" && step != L"clickbetween" && step != L"clickbeyond" &&
        step != L"text-either" && step != L"settext-long" && step != L"type") {
        return std::nullopt;
    }
    const wchar_t *id = take();
    const wchar_t *first = take();
    const bool oneValue = step == L"clicktimed" || step == L"type";
    const wchar_t *second = oneValue ? L"" : take();
    if (context.current == nullptr || id == nullptr || first == nullptr || second == nullptr) {
        return Fail("arguments", "needs a current window, a control id and the step's values");
    }
    if (step == L"clicktimed") {
        return ClickTimed(context, id, first, nullptr);
    }
    if (step == L"clickbetween") {
        return ClickTimed(context, id, second, first);
    }
    if (step == L"clickbeyond") {
        const ULONGLONG before = gLastClickProcessorMilliseconds;
        if (!ClickTimed(context, id, first, nullptr)) {
            return false;
        }
        const ULONGLONG beyond = std::wcstoull(second, nullptr, 10);
        if (gLastClickProcessorMilliseconds > before + beyond) {
            return Fail("clickbeyond", "the click cost the window's thread " +
                                           std::to_string(gLastClickProcessorMilliseconds) +
                                           " ms of processor time, more than " +
                                           std::to_string(beyond) + " ms beyond the " +
                                           std::to_string(before) + " ms of the last timed click");
        }
        return true;
    }
    if (step == L"type") {
        return Type(context, id, first);
    }
    return step == L"text-either" ? TextEither(context, id, first, second)
                                  : SetLongText(context, id, first, second);
}
