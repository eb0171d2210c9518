// Replacement global allocation functions for the soak program: every
// operator new and delete of the process (the module's nothrow allocations
// included) moves one counter of live allocations, so a soak can tell a
// slow leak from a flat footprint.
#include "tests/soak/AllocationCounter.h"

#include <malloc.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace {
std::atomic<long> liveCount{0};
std::atomic<long> totalCount{0};
std::atomic<long> liveByteCount{0};
std::atomic<std::size_t> largestSize{0};

void* allocate(std::size_t size) {
    std::size_t largest = largestSize.load(std::memory_order_relaxed);
    while (size > largest &&
           !largestSize.compare_exchange_weak(largest, size, std::memory_order_relaxed)) {
    }
    void* p = std::malloc(size == 0 ? 1 : size);
    if (p != nullptr) {
        liveCount.fetch_add(1, std::memory_order_relaxed);
        totalCount.fetch_add(1, std::memory_order_relaxed);
        liveByteCount.fetch_add(static_cast<long>(malloc_usable_size(p)),
                                std::memory_order_relaxed);
    }
    return p;
}

void deallocate(void* p) {
    if (p != nullptr) {
        liveCount.fetch_sub(1, std::memory_order_relaxed);
        liveByteCount.fetch_sub(static_cast<long>(malloc_usable_size(p)),
                                std::memory_order_relaxed);
        std::free(p);
    }
}
}  // namespace

namespace cs::soak {
long liveAllocations() {
    return liveCount.load(std::memory_order_relaxed);
}
long liveBytes() {
    return liveByteCount.load(std::memory_order_relaxed);
}
std::size_t largestAllocation() {
    return largestSize.load(std::memory_order_relaxed);
}
void resetLargestAllocation() {
    largestSize.store(0, std::memory_order_relaxed);
}
long totalAllocations() {
    return totalCount.load(std::memory_order_relaxed);
}
}  // namespace cs::soak

void* operator new(std::size_t size) {
    void* p = allocate(size);
    if (p == nullptr) {
        throw std::bad_alloc();
    }
    return p;
}
void* operator new[](std::size_t size) {
    return operator new(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return allocate(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return allocate(size);
}
void operator delete(void* p) noexcept {
    deallocate(p);
}
void operator delete[](void* p) noexcept {
    deallocate(p);
}
void operator delete(void* p, std::size_t) noexcept {
    deallocate(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    deallocate(p);
}
void operator delete(void* p, const std::nothrow_t&) noexcept {
    deallocate(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept {
    deallocate(p);
}
