// Steps for tests of unfriendly input and servers: a click timed against limits, a text that may
// be one of two, a long text made by the driver (a steps line could not carry it), and the checks
// that a window stays alive while a click waits (it answers, paints, and refuses typing).
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>

// What these steps borrow from the driver: its current window and its text helpers.
struct StepContext {
    HWND current;
    std::string (*unescape)(const wchar_t *);      // to code page 936 bytes
    std::wstring (*unescapeWide)(const wchar_t *); // to UTF-16
    std::string (*windowText)(HWND);
    std::string (*show)(const std::string &);
};

// Runs step when it is one of these; nullopt otherwise. take hands out the step's next word
// (null when there is none). Prints a failure as the driver does.
//   clicktimed ID MS        clicks control ID and waits up to MS milliseconds for the program to
//                           finish the click; prints how long it took
//   clickbetween ID MIN MAX as clicktimed with MAX, and the click must take at least MIN ms
//   clickbeyond ID LIMIT MS as clicktimed with LIMIT, and the processor time the click cost the
//                           window's thread is at most MS more than the last timed click's
//   text-either ID A B      control ID has exactly text A or exactly text B
//   settext-long ID BYTES PREFIX   sets control ID to PREFIX followed by "a" up to BYTES bytes
//                           and checks that the control holds all of them
//   clickbegin ID           clicks control ID from a thread of the driver's own (sent, so the
//                           thread returns exactly when the program has handled the click)
//   clickend MS             the click of clickbegin has been handled within MS milliseconds
//   text-within ID MS TEXT  control ID comes to have exactly TEXT within MS milliseconds (for
//                           posted input, which the program handles after any sent read)
//   answers MS LIMIT        for MS milliseconds, the current window answers WM_NULL at every
//                           sample, one every 100 ms, within LIMIT milliseconds; prints the
//                           slowest answer
//   paints MS               the current window and its controls, made wholly invalid, have
//                           painted themselves within MS milliseconds
//   type ID TEXT            posts TEXT to control ID as typed characters (wide WM_CHAR, one
//                           per UTF-16 unit, as the keyboard or an input method types them)
//   poke ID                 posts to control ID what a user's hands give it: Alt+Backspace (an
//                           edit box's undo), the key z, Space, Enter and a left mouse click
std::optional<bool> RunRobustnessStep(const StepContext &context, const std::wstring &step,
                                      const std::function<const wchar_t *()> &take);
