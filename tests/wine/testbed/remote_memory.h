// Memory in another process, for the messages whose pointers the system does not carry across.
#pragma once

#include <windows.h>

#include "forms/handles.h"

namespace testbed {

// Freed when it goes.
class RemoteMemory {
 public:
  RemoteMemory(DWORD processId, SIZE_T size)
      : process_(::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId)),
        address_(process_ ? ::VirtualAllocEx(process_.get(), nullptr, size, MEM_COMMIT, PAGE_READWRITE) : nullptr) {}
  ~RemoteMemory() {
    if (address_) ::VirtualFreeEx(process_.get(), address_, 0, MEM_RELEASE);
  }
  RemoteMemory(const RemoteMemory&) = delete;
  RemoteMemory& operator=(const RemoteMemory&) = delete;
  void* get() const { return address_; }
  bool Write(const void* bytes, SIZE_T size) const {
    return address_ && ::WriteProcessMemory(process_.get(), address_, bytes, size, nullptr);
  }
  bool Read(void* into, SIZE_T size) const {
    return address_ && ::ReadProcessMemory(process_.get(), address_, into, size, nullptr);
  }

 private:
  forms::KernelHandle process_;
  void* address_;
};

}  // namespace testbed
