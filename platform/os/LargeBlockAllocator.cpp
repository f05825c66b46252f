#include "platform/os/LargeBlockAllocator.h"

#include <cstdint>
#include <sys/mman.h>

namespace quarvel::platform {

namespace {

// The size of a huge page; below it, huge pages are not worth asking for.
constexpr std::size_t kHugePage = std::size_t{2} << 20;

// Whole huge pages: a block that ends inside one would take its last megabytes in small pages.
std::size_t mappedLength(std::size_t bytes) {
    return (bytes + kHugePage - 1) / kHugePage * kHugePage;
}

} // namespace

// The system places a mapping on any small-page boundary, and only the huge pages that lie wholly inside
// it can be huge: a block is mapped one huge page longer than needed and trimmed to a huge-page boundary,
// or its first and last megabytes would each take a fault for every small page.
void* allocateLargeBlock(std::size_t bytes) {
    if (bytes < kHugePage)
        return ::operator new(bytes);
    const std::size_t length = mappedLength(bytes);
    void* mapped =
        ::mmap(nullptr, length + kHugePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED)
        throw std::bad_alloc();
    char* const mappedBegin = static_cast<char*>(mapped);
    const std::size_t skipped =
        (kHugePage - reinterpret_cast<std::uintptr_t>(mappedBegin) % kHugePage) % kHugePage;
    char* const block = mappedBegin + skipped;
    if (skipped > 0)
        ::munmap(mappedBegin, skipped);
    if (skipped < kHugePage)
        ::munmap(block + length, kHugePage - skipped);
    // Only advice: without huge pages the memory works the same, more slowly.
    ::madvise(block, length, MADV_HUGEPAGE);
    return block;
}

void freeLargeBlock(void* block, std::size_t bytes) noexcept {
    if (bytes < kHugePage)
        ::operator delete(block);
    else
        ::munmap(block, mappedLength(bytes));
}

} // namespace quarvel::platform
