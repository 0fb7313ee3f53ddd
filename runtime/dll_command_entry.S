// Service slot 1, CallDllCommand: the command index arrives in EAX beside the external
// function's own arguments, which the caller has already pushed. The entry resolves the index
// and jumps, so the external function finds its arguments and its return address untouched and
// returns straight to program code.
    .text
    .globl _CallDllCommand
_CallDllCommand:
    pushl %eax
    call _ResolveDllCommand
    addl $4, %esp
    jmp *%eax
