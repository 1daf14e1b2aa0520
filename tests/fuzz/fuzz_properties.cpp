/** @file fuzz_properties.cpp Property tables: load, save and load again give the same table. */
#include "FuzzSupport.h"
#include "KorvaneXDK/core/Properties.h"

namespace
{

template <class Compare>
void RoundTrip(const std::uint8_t* data, std::size_t size)
{
    fuzz::Stream text(data, size);
    korvane::TProperties<Compare> loaded;
    loaded.LoadFromStream(text);
    korvane::CMemoryStream saved;
    loaded.SaveToStream(saved);
    saved.Seek(0);
    korvane::TProperties<Compare> reloaded;
    reloaded.LoadFromStream(saved);
    fuzz::Check(loaded.GetEntries() == reloaded.GetEntries(), "a saved table loads back different");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    RoundTrip<std::less<std::string>>(data, size);
    RoundTrip<korvane::comparator_for_properties::less_ignorecase>(data, size);
    return 0;
}
