#include "bench/instruction_counter.hpp"

#include <signal.h>

#include <cstdio>
#include <cstdlib>

namespace bench {
namespace {

volatile std::uint64_t steps = 0;

// The kernel (or the emulator) clears the trap flag while the handler runs and puts it back
// on return, so the handler's own instructions are not counted.
void on_trap(int, siginfo_t*, void*) { steps = steps + 1; }

// Everything between the two flag changes is counted; the same call of an empty operation
// gives what the counting itself costs.
__attribute__((noinline)) std::uint64_t stepped(Operation op) {
  steps = 0;
  asm volatile("pushfl\n\torl $0x100, (%%esp)\n\tpopfl" ::: "memory", "cc");
  op();
  asm volatile("pushfl\n\tandl $~0x100, (%%esp)\n\tpopfl" ::: "memory", "cc");
  return steps;
}

__attribute__((noinline)) void empty_operation() { asm volatile("" ::: "memory"); }

int loop_iterations = 0;

__attribute__((noinline)) void test_loop() {
  int n = loop_iterations;
  asm volatile("1: nop\n\tnop\n\tdec %0\n\tjnz 1b" : "+r"(n) : : "cc");
}

}  // namespace

void install_instruction_counter() {
  struct sigaction action {};
  action.sa_sigaction = on_trap;
  action.sa_flags = SA_SIGINFO;
  sigemptyset(&action.sa_mask);
  if (sigaction(SIGTRAP, &action, nullptr) != 0) {
    std::perror("sigaction(SIGTRAP)");
    std::exit(2);
  }
}

std::uint64_t count_instructions(Operation op) {
  const std::uint64_t floor = stepped(empty_operation);
  const std::uint64_t total = stepped(op);
  return total > floor ? total - floor : 0;
}

std::uint64_t count_test_loop(int iterations) {
  loop_iterations = iterations;
  return count_instructions(test_loop);
}

}  // namespace bench
