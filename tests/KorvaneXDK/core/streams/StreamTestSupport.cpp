/** @file StreamTestSupport.cpp Helpers shared by the stream tests. */
#include "StreamTestSupport.h"

#include <algorithm>

#include "KorvaneXDK/core/Exception.h"

namespace korvane::test {

std::int32_t StingyStream::Read(void* buffer, std::int32_t count)
{
    if (delivered_ >= failAfter_)
        throw EReadError(this, "Failed to read from file stream - 'stingy'");
    const std::int32_t got = CMemoryStream::Read(buffer, std::min(count, limit_));
    delivered_ += got;
    return got;
}

} // namespace korvane::test
