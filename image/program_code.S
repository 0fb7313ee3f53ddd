# The program code of the downloader: CodeNullRoutine, then CodeBase and behind it the entry
# table, one 5-byte entry per event handler. A handler offset in a window template is its entry's
# offset from CodeBase. The entry declares the routine's result: "jmp routine" for a routine that
# returns its answer in EAX, "call routine" for a routine declared without a result (the event
# dispatcher calls the routine the entry names and takes no answer from it).
#include "image/code_base.inc"
# Entries in the order of image/window/event_handlers.list.
    call _DownloadButtonClick
