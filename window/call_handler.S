// CallStdcallHandler: calls a program event handler with count argument words, first argument
// first in memory, pushing them last to first as the standard calling convention wants. The
// handler removes its own arguments; the stack pointer is restored from the frame anyway, so a
// handler that removes the wrong number of bytes cannot unbalance the caller.
//   uint64_t CallStdcallHandler(const void *handler, const uint32_t *words, uint32_t count)
    .intel_syntax noprefix
    .text
    .globl _CallStdcallHandler
    .def _CallStdcallHandler; .scl 2; .type 32; .endef
_CallStdcallHandler:
    push ebp
    mov ebp, esp
    push esi
    push edi
    push ebx
    mov ecx, [ebp + 16]
    mov esi, [ebp + 12]
1:
    test ecx, ecx
    jz 2f
    dec ecx
    push dword ptr [esi + ecx * 4]
    jmp 1b
2:
    call dword ptr [ebp + 8]
    lea esp, [ebp - 12]
    pop ebx
    pop edi
    pop esi
    pop ebp
    ret
