// Runs game code at a call site the way the game would, and checks on the way back that the
// code it reached kept the calling rules: ESP balanced, EBX, ESI, EDI and EBP preserved.
// The site's own code ends with a JMP to standin_site_return, so a routine that pops the wrong
// number of bytes is caught here instead of returning into nowhere.
#ifdef _WIN32
#define SYM(x) _##x
#else
#define SYM(x) x
#endif

    .intel_syntax noprefix

    .data
    .balign 4
saved_esp:      .long 0
out_regs:       .long 0
expected_esp:   .long 0

    .text
    .globl SYM(standin_enter)
    .globl SYM(standin_site_return)

// cdecl void standin_enter(uint32_t site, uint32_t ecx, struct SiteRegisters* out)
SYM(standin_enter):
    push ebp
    push ebx
    push esi
    push edi
    mov eax, dword ptr [esp+20]
    mov ecx, dword ptr [esp+24]
    mov edx, dword ptr [esp+28]
    mov dword ptr [out_regs], edx
    mov dword ptr [saved_esp], esp
    // A stack that is not 16-byte aligned: at the entry of the routine the site calls,
    // ESP % 16 == 4 instead of the 12 that i386 System V code may assume.
    sub esp, 256
    and esp, -16
    sub esp, 8
    mov dword ptr [expected_esp], esp
    mov ebx, 0xB0B0B0B0
    mov esi, 0x51515151
    mov edi, 0xD1D1D1D1
    mov ebp, 0xBEBEBEBE
    jmp eax

SYM(standin_site_return):
    mov edx, dword ptr [out_regs]
    mov dword ptr [edx], eax
    mov dword ptr [edx+4], esp
    mov dword ptr [edx+8], ebx
    mov dword ptr [edx+12], esi
    mov dword ptr [edx+16], edi
    mov dword ptr [edx+20], ebp
    mov ecx, dword ptr [expected_esp]
    mov dword ptr [edx+24], ecx
    mov esp, dword ptr [saved_esp]
    pop edi
    pop esi
    pop ebx
    pop ebp
    ret

#ifndef _WIN32
    .section .note.GNU-stack,"",@progbits
#endif
