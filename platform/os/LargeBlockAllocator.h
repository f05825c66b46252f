#pragma once

#include <cstddef>
#include <new>

namespace quarvel::platform {

// Memory for the big arrays a parse fills (one entry per section of a file of many megabytes): blocks of
// at least 2 MiB come straight from the system in huge pages, so that filling them does not take a fault
// for every small page; smaller ones come from the heap.
void* allocateLargeBlock(std::size_t bytes);
void freeLargeBlock(void* block, std::size_t bytes) noexcept;

template <class T>
struct LargeBlockAllocator {
    using value_type = T;

    LargeBlockAllocator() = default;
    template <class U>
    explicit LargeBlockAllocator(const LargeBlockAllocator<U>& /*other*/) {}

    T* allocate(std::size_t count) { return static_cast<T*>(allocateLargeBlock(count * sizeof(T))); }
    void deallocate(T* block, std::size_t count) noexcept { freeLargeBlock(block, count * sizeof(T)); }

    template <class U>
    bool operator==(const LargeBlockAllocator<U>& /*other*/) const {
        return true;
    }
};

} // namespace quarvel::platform
