#include "platform/ProcessMemory.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace platform {

void ReturnLargeBlocksToSystem() {
#if defined(__GLIBC__)
    // A fixed threshold also stops the library from raising it after each large free.
    constexpr int kOwnMappingFrom = 1024 * 1024;
    mallopt(M_MMAP_THRESHOLD, kOwnMappingFrom);
#endif
}

} // namespace platform
