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

// How long the last timed click took, for a click timed against it.
ULONGLONG gLastClickMilliseconds = 0;

// Sent with a time limit: the step returns when the handler has returned or the limit is up. A
// click handled sooner than minimumText milliseconds fails as well (null: no minimum).
bool ClickTimed(const StepContext &context, const wchar_t *id, const wchar_t *limitText,
                const wchar_t *minimumText) {
    HWND button = Control(context, id);
    if (button == nullptr) {
        return Fail("clicktimed", "the current window has no such control");
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
    std::printf("clicktimed: the click took %llu ms\n", elapsed);
    std::fflush(stdout);
    gLastClickMilliseconds = elapsed;
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

} // namespace

std::optional<bool> RunRobustnessStep(const StepContext &context, const std::wstring &step,
                                      const std::function<const wchar_t *()> &take) {
    if (step != L"clicktimed" && step != L"clickbetween" && step != L"clickbeyond" &&
        step != L"text-either" && step != L"settext-long") {
        return std::nullopt;
    }
    const wchar_t *id = take();
    const wchar_t *first = take();
    const bool oneValue = step == L"clicktimed" || step == L"clickbeyond";
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
        const std::wstring limit =
            std::to_wstring(gLastClickMilliseconds + std::wcstoull(first, nullptr, 10));
        return ClickTimed(context, id, limit.c_str(), nullptr);
    }
    return step == L"text-either" ? TextEither(context, id, first, second)
                                  : SetLongText(context, id, first, second);
}
