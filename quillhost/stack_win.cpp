#include "quillhost/stack_win.h"

namespace quillhost {

namespace {
#ifdef _WIN64
int alignment = 16;
#else
int alignment = 4;
#endif
}  // namespace

int StackAlignment() { return alignment; }

void SetStackAlignment(int bytes) {
#ifndef _WIN64
    alignment = bytes;
#else
    (void)bytes;
#endif
}

#ifndef _WIN64
// The new stack pointer: below the caller's frame with room for the words,
// rounded down to 16, plus past16; the words copied there; fn called; the
// caller's stack pointer taken back from the frame (so fn may be cdecl or stdcall).
asm(R"(
    .text
    .globl _CallOnStack
_CallOnStack:
    pushl %ebp
    movl %esp, %ebp
    pushl %esi
    pushl %edi
    movl 12(%ebp), %esi
    movl 16(%ebp), %ecx
    leal 32(,%ecx,4), %edx
    movl %esp, %edi
    subl %edx, %edi
    andl $-16, %edi
    addl 20(%ebp), %edi
    movl %edi, %esp
    xorl %edx, %edx
1:  cmpl %ecx, %edx
    jge 2f
    movl (%esi,%edx,4), %eax
    movl %eax, (%esp,%edx,4)
    incl %edx
    jmp 1b
2:  call *8(%ebp)
    leal -8(%ebp), %esp
    popl %edi
    popl %esi
    popl %ebp
    ret
)");
#endif

}  // namespace quillhost
