#pragma once

namespace veltrane {

// The C library keeps freed heap pages and the blocks freed after a load for
// later use; a landscape's load frees tens of megabytes of small blocks that
// the program never asks for again.

// Large blocks (from 1 MiB) get pages of their own that go back to the
// system when they are freed; the rest of the heap is given back only by
// ReleaseFreedHeap. Call once at the start, before any thread.
void KeepLargeBlocksApart();

// Gives the pages of freed blocks back to the system. Cheap enough after a
// load; not something for every frame.
void ReleaseFreedHeap();

}  // namespace veltrane
