#pragma once
// Exact counts of the instructions an operation executes, by single-stepping it: the x86 trap
// flag raises SIGTRAP after every instruction and the handler counts them. Works where the i386
// code runs under a user-mode emulator, where valgrind cannot run it. The counted operation
// must make no system call.
#include <cstdint>

namespace bench {

using Operation = void (*)();

// Installs the SIGTRAP handler; once per process.
void install_instruction_counter();

// Instructions of one run of `op`, less those of the counting itself.
std::uint64_t count_instructions(Operation op);

// Instructions of a loop of `iterations` rounds of four instructions, for checking the counter.
std::uint64_t count_test_loop(int iterations);

}  // namespace bench
