/** @file TextureCache.h Textures of one owner by name, loaded once each, and folder precaching. */
#pragma once

#include <map>
#include <string>

#include <boost/shared_ptr.hpp>

#include "KorvaneXDK/core/CriticalSection.h"
#include "KorvaneXDK/platform/graphics/TextureInterface.h"
#include "os/gfx/Types.h"

namespace os::gfx
{
class Device;
}

namespace korvane
{

class IDataLoader;

/// A texture is entered under the caller's key, or under the lower-case name when the key is
/// empty; the loader opens the name itself. The cache lock guards look-ups and insertions,
/// decoding runs outside it. GetSP, KeepCurrent, RestoreKept and ClearKept belong to the
/// owner's thread while no loader thread runs.
class CTextureCache : public virtual CNonCopyable
{
public:
    CTextureCache();
    ~CTextureCache() override;

    /// Get or load; the plain pointer stays valid while the entry is in the map.
    virtual ITexture* Load(IDataLoader* loader, const std::string& name, bool mipmaps, const std::string& key,
                           os::gfx::Format format);
    /// Get or load: a hit ignores the other arguments. Two threads loading one new key both
    /// decode; the first insertion wins and the other gets that entry.
    virtual boost::shared_ptr<ITexture> LoadSP(IDataLoader* loader, const std::string& name, bool mipmaps,
                                               const std::string& key, os::gfx::Format format);
    virtual ITexture* LoadWithDriverLoader(const std::string& name, bool mipmaps, const std::string& key,
                                           os::gfx::Format format);
    /// The current map's shared pointer to the texture; EInvalidParameter "GetSP(): texture not found".
    virtual boost::shared_ptr<ITexture> GetSP(ITexture* texture);
    virtual boost::shared_ptr<ITexture> LoadSPWithDriverLoader(const std::string& name, bool mipmaps,
                                                               const std::string& key, os::gfx::Format format);
    virtual void LoadFile(IDataLoader* loader, const std::string& name, bool mipmaps, const std::string& key,
                          os::gfx::Format format);
    virtual void LoadFileWithDriverLoader(const std::string& name, bool mipmaps, const std::string& key,
                                          os::gfx::Format format);
    /// Loads every ".dds", ".bmp", ".jpg" and ".png" file of the folder (extension compared in
    /// lower case) under its lower-case path followed by the suffix.
    virtual void DirectoryPrecache(IDataLoader* loader, const std::string& directory, bool recursive, bool mipmaps,
                                   const std::string& keySuffix, os::gfx::Format format);
    /// The same, asking the loader to purge each file once loaded.
    virtual void DirectoryPrecacheAndPurge(IDataLoader* loader, const std::string& directory, bool recursive,
                                           bool mipmaps, const std::string& keySuffix, os::gfx::Format format);
    /// The same on three loader threads; the first error a thread records is thrown again here,
    /// after every thread has stopped.
    virtual void DirectoryPrecacheAndPurgeFromDataLoaderMT(IDataLoader* loader, const std::string& directory,
                                                           bool recursive, bool mipmaps, const std::string& keySuffix,
                                                           os::gfx::Format format);
    virtual void DirectoryPrecacheWithDriverLoader(const std::string& directory, bool recursive, bool mipmaps,
                                                   const std::string& keySuffix, os::gfx::Format format);
    /// The current map becomes a copy of the kept one.
    virtual void RestoreKept();
    /// The kept map becomes a copy of the current one.
    virtual void KeepCurrent();
    virtual void ClearKept();

private:
    using TextureMap = std::map<std::string, boost::shared_ptr<ITexture>>;

    void Precache(IDataLoader* loader, const std::string& directory, bool recursive, bool mipmaps,
                  const std::string& keySuffix, os::gfx::Format format, bool purge);
    /// The multithreaded precache without its timing.
    void PrecacheOnLoaderThreads(IDataLoader* loader, const std::string& directory, bool recursive, bool mipmaps,
                                 const std::string& keySuffix, os::gfx::Format format);
    IDataLoader* DriverLoader();
    os::gfx::Device* DriverDevice();

    CCriticalSection lock_;
    TextureMap current_;
    TextureMap kept_;
};

} // namespace korvane
