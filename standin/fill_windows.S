// Linked first, this block makes the exe's .text start at 0x401000 and cover the game's code
// range up to 0xC21000; the stand-in writes the game's bytes into it at start-up.
    .section .init,"x"
    .fill 0x820000,1,0xCC
