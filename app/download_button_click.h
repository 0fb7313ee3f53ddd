// The program's event handlers, reached through the entry table behind CodeBase.
//
// How handlers are written: a handler is a standard-call routine that takes its event's argument
// words in order. A handler whose event asks a question (a close query, an input event, the idle
// event) returns its answer as a 32-bit value and its entry is "jmp routine". A handler with
// nothing to answer is declared without a result (void) and its entry is "call routine": the
// dispatcher then takes no answer from it, so the unit goes on as if no handler had answered
// (the window closes, the key or character goes through). Never give a void routine a "jmp"
// entry: whatever it leaves in EAX would be taken as its answer.
#pragma once

// Event 0 of the button "按钮1": a standard-call routine without arguments and without a
// result (entry "call").
extern "C" void DownloadButtonClick();
