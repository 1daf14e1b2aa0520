/** @file ByteReader.h The store files' bounded little-endian reader: the platform layer's one field reader. */
#pragma once

#include "os/system/ByteReader.h"

namespace os::store
{

using os::system::ByteReader;

} // namespace os::store
