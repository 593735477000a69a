// Calls a game routine at its address the way the game's code would, with ECX and stack
// arguments given, and reports what the routine left: EAX, the bytes it removed from the
// stack (thiscall routines remove their arguments, cdecl ones none) and the callee-saved
// registers, which are set to known values before the call.
    .intel_syntax noprefix

    .data
    .balign 4
gc_fn:          .long 0
gc_out:         .long 0
gc_saved_esp:   .long 0
gc_esp_before:  .long 0

    .text
    .globl game_call

// cdecl void game_call(uint32_t fn, uint32_t ecx, const uint32_t* args, uint32_t n, struct GameCallResult* out)
game_call:
    push ebp
    push ebx
    push esi
    push edi
    mov eax, dword ptr [esp+20]
    mov dword ptr [gc_fn], eax
    mov eax, dword ptr [esp+36]
    mov dword ptr [gc_out], eax
    mov edx, dword ptr [esp+24]
    mov esi, dword ptr [esp+28]
    mov ecx, dword ptr [esp+32]
    mov dword ptr [gc_saved_esp], esp
    lea esi, [esi+ecx*4]
1:
    test ecx, ecx
    jz 2f
    sub esi, 4
    push dword ptr [esi]
    dec ecx
    jmp 1b
2:
    mov dword ptr [gc_esp_before], esp
    mov ecx, edx
    mov ebx, 0xB0B0B0B0
    mov esi, 0x51515151
    mov edi, 0xD1D1D1D1
    mov ebp, 0xBEBEBEBE
    call dword ptr [gc_fn]
    mov edx, dword ptr [gc_out]
    mov dword ptr [edx], eax
    mov eax, esp
    sub eax, dword ptr [gc_esp_before]
    mov dword ptr [edx+4], eax
    mov dword ptr [edx+8], ebx
    mov dword ptr [edx+12], esi
    mov dword ptr [edx+16], edi
    mov dword ptr [edx+20], ebp
    mov esp, dword ptr [gc_saved_esp]
    pop edi
    pop esi
    pop ebx
    pop ebp
    ret

    .section .note.GNU-stack,"",@progbits
