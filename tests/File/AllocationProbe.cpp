#include "AllocationProbe.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<bool> sProbing{false};
std::atomic<std::size_t> sLargest{0};

void* Allocate(std::size_t size) {
  if (sProbing.load(std::memory_order_relaxed) && size > sLargest.load(std::memory_order_relaxed)) sLargest = size;
  return std::malloc(size ? size : 1);
}

}  // namespace

void* operator new(std::size_t size) {
  if (void* block = Allocate(size)) return block;
  throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return operator new(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { std::free(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { std::free(block); }

namespace filetest {

AllocationProbe::AllocationProbe() {
  sLargest = 0;
  sProbing = true;
}

AllocationProbe::~AllocationProbe() { sProbing = false; }

std::size_t AllocationProbe::Largest() const { return sLargest; }

}  // namespace filetest
