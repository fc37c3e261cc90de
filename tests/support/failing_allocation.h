// Makes the program's allocations fail on demand, as they do when a 32-bit process has run out of
// address space. It replaces the global operator new, so exactly one file of a test executable
// may include it.
#pragma once

#include <cstddef>
#include <cstdlib>
#include <new>

namespace testsupport {

// While not 0, every allocation of at least this many bytes fails.
inline std::size_t failingFromBytes = 0;

// Allocations fail while this lives.
class FailingAllocations {
 public:
  explicit FailingAllocations(std::size_t fromBytes = 1) { failingFromBytes = fromBytes; }
  ~FailingAllocations() { failingFromBytes = 0; }
  FailingAllocations(const FailingAllocations&) = delete;
  FailingAllocations& operator=(const FailingAllocations&) = delete;
};

}  // namespace testsupport

// Every form is replaced: a sanitizer's runtime defines the array and non-throwing forms itself
// instead of passing them on to the plain one, which the standard library does.
void* operator new(std::size_t size) {
  if (testsupport::failingFromBytes != 0 && size >= testsupport::failingFromBytes) throw std::bad_alloc();
  if (void* memory = std::malloc(size != 0 ? size : 1)) return memory;
  throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return ::operator new(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  try {
    return ::operator new(size);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return ::operator new(size, std::nothrow); }
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete[](void* memory) noexcept { std::free(memory); }
void operator delete[](void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete(void* memory, const std::nothrow_t&) noexcept { std::free(memory); }
void operator delete[](void* memory, const std::nothrow_t&) noexcept { std::free(memory); }
