# The program code of a test program: CodeNullRoutine and CodeBase, no event handlers.
    .text
    .globl _CodeNullRoutine
_CodeNullRoutine:
    xorl %eax, %eax
    ret
    .balign 4, 0x90

    .globl _CodeBase
_CodeBase:
