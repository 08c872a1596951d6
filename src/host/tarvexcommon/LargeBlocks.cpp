#include "LargeBlocks.h"

#include <cstdint>
#include <cstdlib>
#include <new>

#include <sys/mman.h>

namespace tarvex {

namespace {

constexpr std::size_t kHugePage = std::size_t(2) << 20;
constexpr std::size_t kPage = 4096;

} // namespace

void* allocateLarge(std::size_t bytes)
{
    if (bytes < kHugePage) {
        if (void* block = std::malloc(bytes ? bytes : 1))
            return block;
        throw std::bad_alloc();
    }
    // Aligned and rounded to whole huge pages, so none is shared with
    // another block.
    const std::size_t size = (bytes + kHugePage - 1) / kHugePage * kHugePage;
    void* block = std::aligned_alloc(kHugePage, size);
    if (!block)
        throw std::bad_alloc();
    ::madvise(block, size, MADV_HUGEPAGE);
    return block;
}

void freeLarge(void* block) noexcept
{
    std::free(block);
}

void adviseHugePages(void* block, std::size_t bytes) noexcept
{
    if (bytes < kHugePage)
        return;
    const std::uintptr_t start = (reinterpret_cast<std::uintptr_t>(block) + kPage - 1) / kPage * kPage;
    const std::uintptr_t end = (reinterpret_cast<std::uintptr_t>(block) + bytes) / kPage * kPage;
    if (end > start)
        ::madvise(reinterpret_cast<void*>(start), end - start, MADV_HUGEPAGE);
}

} // namespace tarvex
