#include "AllocationCounter.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<bool> Counting{false};
std::atomic<size_t> LargeSize{SIZE_MAX};
std::atomic<uint64_t> Count{0};
std::atomic<uint64_t> Bytes{0};
std::atomic<uint64_t> Largest{0};
std::atomic<uint64_t> LargeCount{0};

void Record(size_t size) {
    if (!Counting.load(std::memory_order_relaxed)) return;
    Count.fetch_add(1, std::memory_order_relaxed);
    Bytes.fetch_add(size, std::memory_order_relaxed);
    if (size >= LargeSize.load(std::memory_order_relaxed)) LargeCount.fetch_add(1, std::memory_order_relaxed);
    uint64_t seen = Largest.load(std::memory_order_relaxed);
    while (size > seen && !Largest.compare_exchange_weak(seen, size, std::memory_order_relaxed)) {
    }
}

}  // namespace

namespace alloctest {

TAllocationProbe::TAllocationProbe(size_t largeBytes) {
    Count = 0;
    Bytes = 0;
    Largest = 0;
    LargeCount = 0;
    LargeSize = largeBytes;
    Counting = true;
}

TAllocationProbe::~TAllocationProbe() { Counting = false; }

TAllocationStats TAllocationProbe::Stats() const {
    return TAllocationStats{Count.load(), Bytes.load(), Largest.load(), LargeCount.load()};
}

}  // namespace alloctest

// The replaced allocation functions: the other forms of new and delete of
// the standard library forward to these.
void* operator new(size_t size) {
    Record(size);
    if (void* memory = std::malloc(size == 0 ? 1 : size)) return memory;
    throw std::bad_alloc();
}

void operator delete(void* memory) noexcept { std::free(memory); }

void operator delete(void* memory, size_t) noexcept { std::free(memory); }
