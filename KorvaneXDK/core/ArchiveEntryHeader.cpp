/** @file ArchiveEntryHeader.cpp The four fields of an archive entry record. */
#include "KorvaneXDK/core/ArchiveEntryHeader.h"

namespace korvane
{

CArchiveEntryHeader::CArchiveEntryHeader(std::int32_t offset, std::int32_t size, std::int32_t method,
                                         std::int32_t auxiliary)
    : offset_(offset), size_(size), method_(method), auxiliary_(auxiliary)
{}

} // namespace korvane
