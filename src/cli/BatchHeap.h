#pragma once

// The command-line tool runs one command and ends, and on a busy line most
// of what it allocates is large (the picture's bitmaps, the display list,
// the time labels, the conflicts) and touched once. Taken the usual way,
// every large block is a mapping of its own and every 4 KB of it a page
// fault of the kernel's; on a virtual machine a render of a busy day then
// spends about as long faulting pages in as drawing them.
namespace BatchHeap {

// Called first thing in main: blocks up to 32 MB come from the heap, the
// heap grows in large steps and keeps what is freed until the tool ends,
// and its first stretch is backed by huge pages where the system gives them
// on request (transparent huge pages "madvise" or "always"). False, having
// done nothing, where the allocator is not glibc's malloc (another C
// library, a sanitizer's allocator).
bool prepare();

} // namespace BatchHeap
