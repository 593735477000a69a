// Handles from NtQuerySystemInformation(SystemHandleInformation): Wine answers
// GetProcessHandleCount with 0. Heap bytes: the busy blocks of the process heap, which the C
// runtime's malloc uses.
#include <windows.h>

#include <vector>

#include "standin/resources.hpp"

namespace standin {
namespace {

constexpr ULONG system_handle_information = 16;
constexpr LONG status_info_length_mismatch = static_cast<LONG>(0xC0000004);

struct HandleEntry {
  USHORT process;
  USHORT creator_back_trace_index;
  UCHAR object_type;
  UCHAR attributes;
  USHORT value;
  PVOID object;
  ULONG granted_access;
};

struct HandleTable {
  ULONG count;
  HandleEntry entries[1];
};

using QueryFn = LONG(WINAPI*)(ULONG, PVOID, ULONG, PULONG);

long count_handles() {
  const auto query = reinterpret_cast<QueryFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation")));
  if (!query) return -1;
  std::vector<unsigned char> buffer(1 << 16);
  LONG status;
  ULONG needed = 0;
  while ((status = query(system_handle_information, buffer.data(), static_cast<ULONG>(buffer.size()), &needed)) ==
         status_info_length_mismatch) {
    if (buffer.size() > (1u << 28)) return -1;
    buffer.resize(buffer.size() * 2);
  }
  if (status < 0) return -1;
  const auto* table = reinterpret_cast<const HandleTable*>(buffer.data());
  const DWORD self = GetCurrentProcessId();
  long count = 0;
  for (ULONG i = 0; i < table->count; ++i)
    if (table->entries[i].process == static_cast<USHORT>(self)) ++count;
  return count;
}

std::int64_t heap_in_use() {
  const HANDLE heap = GetProcessHeap();
  if (!HeapLock(heap)) return -1;
  std::int64_t bytes = 0;
  PROCESS_HEAP_ENTRY entry{};
  while (HeapWalk(heap, &entry))
    if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) bytes += entry.cbData;
  HeapUnlock(heap);
  return bytes;
}

}  // namespace

Resources measure_resources() { return Resources{count_handles(), heap_in_use()}; }

}  // namespace standin
