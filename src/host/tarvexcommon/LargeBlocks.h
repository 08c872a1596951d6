#pragma once
// Memory for the long columns of a report. Blocks of some megabytes are
// asked of the system in huge pages where it gives them on request: a
// million rows then cost a few hundred page faults and little of the
// processor's address cache, where 4 KiB pages cost one fault per page.

#include <cstddef>

namespace tarvex {

// Throws std::bad_alloc when there is no memory; freed with freeLarge.
void* allocateLarge(std::size_t bytes);
void freeLarge(void* block) noexcept;
// Huge pages for the whole pages inside a block already taken (as a
// realloc'ed block grows); nothing for a small block.
void adviseHugePages(void* block, std::size_t bytes) noexcept;

template <class T>
struct LargeBlockAllocator {
    using value_type = T;
    LargeBlockAllocator() = default;
    template <class U>
    LargeBlockAllocator(const LargeBlockAllocator<U>&) noexcept
    {
    }
    T* allocate(std::size_t n) { return static_cast<T*>(allocateLarge(n * sizeof(T))); }
    void deallocate(T* block, std::size_t) noexcept { freeLarge(block); }
    friend bool operator==(const LargeBlockAllocator&, const LargeBlockAllocator&) { return true; }
    friend bool operator!=(const LargeBlockAllocator&, const LargeBlockAllocator&) { return false; }
};

} // namespace tarvex
