# The calls that compiled code makes through the register-based service slots, for the program
# code written in C++: the arguments are laid out on the stack as compiled code pushes them.
    .text

# void ProgramCallKernelCommand(KernelCommand routine, int32_t count,
#                               const ArgumentRecord *records, ArgumentRecord *result)
# Places count records in argument order at increasing addresses, pushes count, calls slot 3
# with the routine in eax, stores eax, edx, ecx into *result and removes 4 + 12 * count bytes.
    .globl _ProgramCallKernelCommand
_ProgramCallKernelCommand:
    pushl %ebp
    movl %esp, %ebp
    pushl %esi
    pushl %edi
    movl 12(%ebp), %ecx
    testl %ecx, %ecx
    jns 1f
    xorl %ecx, %ecx
1:
    imull $12, %ecx, %ecx
    subl %ecx, %esp
    movl 16(%ebp), %esi
    movl %esp, %edi
    rep movsb
    pushl 12(%ebp)
    movl 8(%ebp), %eax
    call *(_RuntimeServiceTable + 12)
    movl 20(%ebp), %edi
    movl %eax, (%edi)
    movl %edx, 4(%edi)
    movl %ecx, 8(%edi)
    leal -8(%ebp), %esp
    popl %edi
    popl %esi
    popl %ebp
    ret

# uint64_t ProgramCallInternalCommand(int32_t index, uint32_t wordCount, const uint32_t *words)
# Places the argument words in order at increasing addresses, calls slot 12 with the index in
# eax and removes the words; the command's result comes back in eax and edx.
    .globl _ProgramCallInternalCommand
_ProgramCallInternalCommand:
    pushl %ebp
    movl %esp, %ebp
    pushl %esi
    pushl %edi
    movl 12(%ebp), %ecx
    shll $2, %ecx
    subl %ecx, %esp
    movl 16(%ebp), %esi
    movl %esp, %edi
    rep movsb
    movl 8(%ebp), %eax
    call *(_RuntimeServiceTable + 48)
    leal -8(%ebp), %esp
    popl %edi
    popl %esi
    popl %ebp
    ret
