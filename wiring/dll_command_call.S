// Program code's DLL command call: saves ESP, pushes the argument words (last first), calls
// service slot 1 with the command index in EAX and raises runtime error 6 through service slot 0
// when the external function did not remove exactly the words it was given.
//   uint32_t CallDllCommandChecked(uint32_t index, uint32_t wordCount, const uint32_t *words)
    .set kStackErrorIndex, 6
    .text
    .globl _CallDllCommandChecked
_CallDllCommandChecked:
    pushl %ebp
    movl %esp, %ebp
    pushl %esi
    movl 12(%ebp), %ecx
    movl 16(%ebp), %edx
    movl %esp, %esi
1:
    testl %ecx, %ecx
    jz 2f
    pushl -4(%edx,%ecx,4)
    decl %ecx
    jmp 1b
2:
    movl 8(%ebp), %eax
    call *(_RuntimeServiceTable + 4)
    cmpl %esi, %esp
    jne 3f
    popl %esi
    popl %ebp
    ret
3:
    movl %esi, %esp
    pushl $kStackErrorIndex
    call *_RuntimeServiceTable
