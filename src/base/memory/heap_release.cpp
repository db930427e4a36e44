#include "base/memory/heap_release.h"

#include <cstdlib>  // defines __GLIBC__ on glibc systems

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace veltrane {

void KeepLargeBlocksApart() {
#if defined(__GLIBC__)
  // A fixed threshold also stops glibc from raising it each time a large
  // block is freed, after which such blocks would stay in the heap for good.
  // Below a megabyte, fresh pages for each block would cost the start more
  // (page faults) than they save.
  mallopt(M_MMAP_THRESHOLD, 1024 * 1024);
  // Trimming the top of the heap by itself would hand back and fault in the
  // renderer's and the driver's scratch at every frame (a tenth of the frame
  // rate); ReleaseFreedHeap does it where a load has freed much.
  mallopt(M_TRIM_THRESHOLD, 64 * 1024 * 1024);
#endif
}

void ReleaseFreedHeap() {
#if defined(__GLIBC__)
  malloc_trim(0);
#endif
}

}  // namespace veltrane
