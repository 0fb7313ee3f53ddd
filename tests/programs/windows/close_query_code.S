# The program code of the close-query program: CodeNullRoutine, CodeBase and the entry table in
# the order of close_query.handlers.
    .text
    .globl _CodeNullRoutine
_CodeNullRoutine:
    xorl %eax, %eax
    ret
    .balign 4, 0x90

    .globl _CodeBase
_CodeBase:
    jmp _QueryClose
    jmp _NoteClose
