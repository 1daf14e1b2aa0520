/** @file ShaderPairCache.cpp Shader pairs loaded once by name and shared. */
#include "KorvaneXDK/platform/graphics/ShaderPairCache.h"

#include <vector>

#include "KorvaneXDK/core/DataLoader.h"
#include "KorvaneXDK/core/Exception.h"
#include "KorvaneXDK/core/FilePath.h"
#include "KorvaneXDK/core/Log.h"
#include "KorvaneXDK/core/SimpleProfiler.h"
#include "KorvaneXDK/core/StringUtility.h"
#include "KorvaneXDK/platform/graphics/DriverAccess.h"
#include "KorvaneXDK/platform/graphics/ShaderPair.h"

namespace korvane
{

CShaderPairCache::CShaderPairCache() = default;
CShaderPairCache::~CShaderPairCache() = default;

std::string CShaderPairCache::MakeKey(const std::string& name)
{
    return ToLowerString(ReplaceExtension(name, ""));
}

boost::shared_ptr<CShaderPair> CShaderPairCache::GetOrLoad(IDataLoader* loader, const std::string& name)
{
    const std::string key = MakeKey(name);
    const auto found = pairs_.find(key);
    if (found != pairs_.end()) {
        return found->second;
    }
    boost::shared_ptr<CShaderPair> pair(new CShaderPair());
    pair->LoadFromDataLoader(loader, name);
    pairs_[key] = pair;
    return pair;
}

boost::shared_ptr<CShaderPair> CShaderPairCache::GetWithDriverLoader(const std::string& name)
{
    return GetOrLoad(&RequireDriverDataLoader(this), name);
}

void CShaderPairCache::PrecacheWithDriverLoader(const std::string& name)
{
    GetWithDriverLoader(name);
}

void CShaderPairCache::Precache(IDataLoader* loader, const std::string& name)
{
    GetOrLoad(loader, name);
}

void CShaderPairCache::PrecacheDirectory(IDataLoader* loader, const std::string& directory, bool recursive)
{
    if (loader == nullptr) {
        throw EInvalidOperation(this, "No data loader.");
    }
    CSimpleProfiler profiler("precaching ShaderPair");
    LogInfoF("--- precaching ShaderPair from directory ---");
    std::vector<std::string> names;
    loader->EnumerateFiles(directory, recursive, names);
    for (const std::string& name : names) {
        const std::string extension = ToLowerString(GetExtension(name));
        if (extension != ".ps" && extension != ".xpu") {
            continue;
        }
        const std::string base = ReplaceExtension(name, "");
        LogInfoF("precache: %s", base.c_str());
        Precache(loader, base);
    }
    LogInfoF("--------");
}

void CShaderPairCache::PrecacheDirectoryWithDriverLoader(const std::string& directory, bool recursive)
{
    PrecacheDirectory(&RequireDriverDataLoader(this), directory, recursive);
}

void CShaderPairCache::Clear()
{
    pairs_.clear();
}

} // namespace korvane
