/** @file ShaderPairCache.h Shader pairs loaded once by name and shared. */
#pragma once

#include <map>
#include <string>

#include <boost/shared_ptr.hpp>

#include "KorvaneXDK/core/Object.h"

namespace korvane
{

class IDataLoader;
class CShaderPair;

/// Keyed by the lower-cased name without its extension: "Shader\Canvas" and
/// "shader\canvas.ps" are one pair, loaded under the first name asked for. A pair is stored
/// only once it loaded; a failed load leaves no key and the next request tries again.
class CShaderPairCache : public virtual CNonCopyable
{
public:
    CShaderPairCache();
    ~CShaderPairCache() override;

    virtual boost::shared_ptr<CShaderPair> GetOrLoad(IDataLoader* loader, const std::string& name);
    /// Through the application driver's data loader.
    virtual boost::shared_ptr<CShaderPair> GetWithDriverLoader(const std::string& name);
    virtual void PrecacheWithDriverLoader(const std::string& name);
    virtual void Precache(IDataLoader* loader, const std::string& name);
    /// Loads the pair of every ".ps" or ".xpu" entry of the folder (extension in any case),
    /// in listing order; the first failure ends it, keeping what loaded before.
    virtual void PrecacheDirectory(IDataLoader* loader, const std::string& directory, bool recursive);
    virtual void PrecacheDirectoryWithDriverLoader(const std::string& directory, bool recursive);
    /// Forgets every pair (pairs shared elsewhere live on).
    virtual void Clear();

    /// The key a name is cached under.
    static std::string MakeKey(const std::string& name);
    std::size_t GetCount() const { return pairs_.size(); }

private:
    std::map<std::string, boost::shared_ptr<CShaderPair>> pairs_;
};

} // namespace korvane
