/** @file ResourceCache.cpp The games' resources by file name. */
#include "host/ResourceCache.h"

#include <map>
#include <mutex>

#include "KorvaneXDK/core/DataLoader.h"
#include "KorvaneXDK/core/FilePath.h"
#include "KorvaneXDK/core/KorvaneStream.h"
#include "KorvaneXDK/core/MemoryStream.h"
#include "KorvaneXDK/core/StringUtility.h"
#include "KorvaneXDK/platform/graphics/DriverAccess.h"

namespace
{

constexpr std::int32_t kMinimumResourceSize = 0x10000;

struct ResourceState
{
    std::mutex Mutex;
    std::string DataFolder;
    std::map<std::string, boost::shared_ptr<korvane::CMemoryStream>> Cache;
};

ResourceState& State()
{
    // Never destroyed: a game thread may still hold a pointer into a cached buffer at exit.
    static ResourceState* state = new ResourceState;
    return *state;
}

} // namespace

void ResourceSetDataFolder(const std::string& folder)
{
    ResourceState& state = State();
    std::lock_guard<std::mutex> lock(state.Mutex);
    state.DataFolder = folder;
}

std::string ResourceGetDataFolder()
{
    ResourceState& state = State();
    std::lock_guard<std::mutex> lock(state.Mutex);
    return state.DataFolder;
}

std::uint8_t* ResourceGet(const char* name)
{
    ResourceState& state = State();
    std::lock_guard<std::mutex> lock(state.Mutex);
    const std::string key =
        state.DataFolder + korvane::ToLowerString(korvane::GetFileName(name != nullptr ? name : ""));
    auto found = state.Cache.find(key);
    if (found != state.Cache.end())
        return found->second->GetBuffer();

    boost::shared_ptr<korvane::CMemoryStream> stream(new korvane::CMemoryStream);
    stream->SetSize(kMinimumResourceSize);
    {
        boost::shared_ptr<korvane::IKorvaneStream> source = korvane::RequireDriverDataLoader(nullptr).OpenShared(key);
        stream->CopyFrom(*source, 0);
    }
    stream->Seek(0);
    state.Cache.emplace(key, stream);
    return stream->GetBuffer();
}

boost::shared_ptr<korvane::CMemoryStream> ResourceFindStream(const void* bytes)
{
    ResourceState& state = State();
    std::lock_guard<std::mutex> lock(state.Mutex);
    for (const auto& [key, stream] : state.Cache)
        if (bytes != nullptr && stream->GetBuffer() == bytes)
            return stream;
    return {};
}
