# The program code of the menus program: CodeNullRoutine, CodeBase and the entry table in the
# order of menus.handlers.
    .text
    .globl _CodeNullRoutine
_CodeNullRoutine:
    xorl %eax, %eax
    ret
    .balign 4, 0x90

    .globl _CodeBase
_CodeBase:
    jmp _RetitleWindow
    jmp _ExitWithSeven
    jmp _EnableExit
