#include "BatchHeap.h"

#include <cstdint>
#include <cstdlib> // defines __GLIBC__ with glibc

#if defined(__linux__) && defined(__GLIBC__)
#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>
#endif

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define VLAKORYS_OWN_ALLOCATOR 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer) || __has_feature(memory_sanitizer)
#define VLAKORYS_OWN_ALLOCATOR 1
#endif
#endif

namespace BatchHeap {

bool prepare()
{
#if defined(__linux__) && defined(__GLIBC__) && !defined(VLAKORYS_OWN_ALLOCATOR)
    constexpr int largestFromHeap = 32 << 20;
    constexpr int firstStretch = 256 << 20;
    constexpr int laterSteps = 32 << 20;
    constexpr uintptr_t hugePage = uintptr_t{2} << 20;
    mallopt(M_MMAP_THRESHOLD, largestFromHeap);
    mallopt(M_TRIM_THRESHOLD, 1 << 30);

    // One block the heap cannot give from what it has makes it grow by the
    // block and the pad; the stretch it grew by is then advised as a whole,
    // before anything in it has been touched.
    mallopt(M_TOP_PAD, firstStretch);
    void *block = std::malloc(16 << 20);
    if (block) {
        const uintptr_t from = (reinterpret_cast<uintptr_t>(block) + hugePage - 1) & ~(hugePage - 1);
        const auto end = reinterpret_cast<uintptr_t>(sbrk(0)) & ~(hugePage - 1);
        // Not grown (the block was mapped apart, or the heap lies elsewhere):
        // nothing to advise.
        if (end > from && end - from <= uintptr_t{2} * firstStretch)
            madvise(reinterpret_cast<void *>(from), end - from, MADV_HUGEPAGE);
        std::free(block);
    }
    mallopt(M_TOP_PAD, laterSteps);
    return true;
#else
    return false;
#endif
}

} // namespace BatchHeap
