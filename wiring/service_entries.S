# The register-based service entries of the RuntimeServiceTable.
    .text

# Slot 3. On entry: eax = kernel command routine, [esp+4] = argument count, [esp+8] = the first
# 12-byte ArgumentRecord (the others follow at increasing addresses). Calls
# routine(&result, count, &first) with a zeroed 12-byte result record and hands the result back
# as eax = low word, edx = high word, ecx = TypeCode. The caller removes 4 + 12 * count bytes.
    .globl _CallKernelCommand
_CallKernelCommand:
    pushl %ebp
    movl %esp, %ebp
    subl $12, %esp
    movl $0, -12(%ebp)
    movl $0, -8(%ebp)
    movl $0, -4(%ebp)
    leal 12(%ebp), %ecx
    pushl %ecx
    pushl 8(%ebp)
    leal -12(%ebp), %ecx
    pushl %ecx
    call *%eax
    movl -12(%ebp), %eax
    movl -8(%ebp), %edx
    movl -4(%ebp), %ecx
    leave
    ret

# Slot 12. On entry: eax = internal command index; the command's arguments lie on the stack as
# the caller pushed them, so the command returns straight to the caller. An index outside the
# table answers 0 without calling anything.
    .globl _CallInternalCommand
_CallInternalCommand:
    cmpl _InternalCommandCount, %eax
    jae 1f
    movl _InternalCommandTable(,%eax,4), %eax
    testl %eax, %eax
    jz 1f
    jmp *%eax
1:
    xorl %eax, %eax
    xorl %edx, %edx
    ret
