// Counts what the test program allocates through operator new, so a test can
// check that a piece of code does not allocate (or decode) more than it
// should without timing it. Linking AllocationCounter.cpp into a program
// replaces its global operator new and delete.
#pragma once

#include <cstddef>
#include <cstdint>

namespace alloctest {

struct TAllocationStats {
    uint64_t Count = 0;       // allocations made
    uint64_t Bytes = 0;       // bytes asked for in all
    uint64_t Largest = 0;     // the largest single allocation
    uint64_t LargeCount = 0;  // allocations of at least the probe's large size
};

// Counts the allocations made between its construction and its destruction
// (one probe at a time).
class TAllocationProbe {
public:
    explicit TAllocationProbe(size_t largeBytes = SIZE_MAX);
    ~TAllocationProbe();
    TAllocationProbe(const TAllocationProbe&) = delete;
    TAllocationProbe& operator=(const TAllocationProbe&) = delete;

    TAllocationStats Stats() const;
};

}  // namespace alloctest
