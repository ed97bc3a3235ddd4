#include "platform/Allocator.h"

#include <malloc.h>

namespace Allocator {

void keepPageBuffers()
{
    mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, 128 * 1024 * 1024);
    mallopt(M_TOP_PAD, 16 * 1024 * 1024);
}

} // namespace Allocator
