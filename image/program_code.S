# The program code of the downloader: CodeNullRoutine, then CodeBase and behind it the entry
# table, one 5-byte jmp per event handler. A handler offset in a window template is its entry's
# offset from CodeBase.
#include "image/code_base.inc"
# Entries in the order of image/window/event_handlers.list.
    jmp _DownloadButtonClick
