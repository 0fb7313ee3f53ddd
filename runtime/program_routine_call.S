# Calls of compiled program routines that keep the runtime's registers: the routine may change
# ebx, esi, edi, ebp and the direction flag; esp comes back balanced, as both calling contracts
# (no arguments, or one argument removed by the caller) promise.
    .text

# uint32_t CallProgramRoutine(uint32_t routine)
    .globl _CallProgramRoutine
_CallProgramRoutine:
    pushl %ebp
    pushl %ebx
    pushl %esi
    pushl %edi
    call *20(%esp)
    cld
    popl %edi
    popl %esi
    popl %ebx
    popl %ebp
    ret

# uint32_t CallProgramRoutineWithArgument(uint32_t routine, uint32_t argument)
    .globl _CallProgramRoutineWithArgument
_CallProgramRoutineWithArgument:
    pushl %ebp
    pushl %ebx
    pushl %esi
    pushl %edi
    pushl 24(%esp)
    call *24(%esp)
    cld
    addl $4, %esp
    popl %edi
    popl %esi
    popl %ebx
    popl %ebp
    ret
