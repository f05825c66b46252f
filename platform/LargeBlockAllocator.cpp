#include "platform/LargeBlockAllocator.h"

#include <sys/mman.h>

namespace quarvel::platform {

namespace {

// Below this, huge pages are not worth asking for.
constexpr std::size_t kHugePageWorthy = std::size_t{2} << 20;

} // namespace

void* allocateLargeBlock(std::size_t bytes) {
    if (bytes < kHugePageWorthy)
        return ::operator new(bytes);
    void* mapped = ::mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED)
        throw std::bad_alloc();
    // Only advice: without huge pages the memory works the same, more slowly.
    ::madvise(mapped, bytes, MADV_HUGEPAGE);
    return mapped;
}

void freeLargeBlock(void* block, std::size_t bytes) noexcept {
    if (bytes < kHugePageWorthy)
        ::operator delete(block);
    else
        ::munmap(block, bytes);
}

} // namespace quarvel::platform
