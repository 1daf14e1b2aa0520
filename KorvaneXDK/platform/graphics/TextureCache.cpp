/** @file TextureCache.cpp Get-or-load by key, folder precaching on the calling thread or on three loader threads. */
#include "KorvaneXDK/platform/graphics/TextureCache.h"

#include <array>
#include <vector>

#include "KorvaneXDK/core/DataLoader.h"
#include "KorvaneXDK/core/Exception.h"
#include "KorvaneXDK/core/FilePath.h"
#include "KorvaneXDK/core/KorvaneStream.h"
#include "KorvaneXDK/core/Log.h"
#include "KorvaneXDK/core/ScopedLock.h"
#include "KorvaneXDK/core/SimpleProfiler.h"
#include "KorvaneXDK/core/StringUtility.h"
#include "KorvaneXDK/platform/GameApplicationDriverCX.h"
#include "KorvaneXDK/platform/graphics/DXGraphics.h"
#include "KorvaneXDK/platform/graphics/Texture.h"
#include "KorvaneXDK/platform/graphics/TextureCacheLoaderThread.h"
#include "os/gfx/Device.h"

namespace korvane
{

namespace
{

constexpr int kLoaderThreads = 3;

bool IsImageName(const std::string& name)
{
    const std::string extension = ToLowerString(GetExtension(name));
    return extension == ".dds" || extension == ".bmp" || extension == ".jpg" || extension == ".png";
}

/// Throws again what a loader thread ended with, if anything.
void ThrowRecorded(CTextureCacheLoaderThread& thread)
{
    if (thread.HasEngineError()) {
        throw thread.GetEngineError();
    }
    if (thread.HasStandardError()) {
        throw thread.GetStandardError();
    }
}

} // namespace

CTextureCache::CTextureCache() = default;

CTextureCache::~CTextureCache()
{
    current_.clear();
    kept_.clear();
}

ITexture* CTextureCache::Load(IDataLoader* loader, const std::string& name, bool mipmaps, const std::string& key,
                              os::gfx::Format format)
{
    return LoadSP(loader, name, mipmaps, key, format).get();
}

boost::shared_ptr<ITexture> CTextureCache::LoadSP(IDataLoader* loader, const std::string& name, bool mipmaps,
                                                  const std::string& key, os::gfx::Format format)
{
    const std::string entry = key.empty() ? ToLowerString(name) : key;
    {
        CScopedLock lock(lock_);
        const auto found = current_.find(entry);
        if (found != current_.end()) {
            return found->second;
        }
    }
    if (loader == nullptr) {
        throw EInvalidParameter(this, "LoadSP(): no data loader");
    }
    boost::shared_ptr<ITexture> texture(new CTexture());
    boost::shared_ptr<IKorvaneStream> stream = loader->OpenShared(name);
    texture->Load(*stream, mipmaps, format);
    CScopedLock lock(lock_);
    // Another thread may have entered the key meanwhile: its entry stays, so plain pointers
    // handed out for it stay valid.
    return current_.emplace(entry, texture).first->second;
}

ITexture* CTextureCache::LoadWithDriverLoader(const std::string& name, bool mipmaps, const std::string& key,
                                              os::gfx::Format format)
{
    return Load(DriverLoader(), name, mipmaps, key, format);
}

boost::shared_ptr<ITexture> CTextureCache::GetSP(ITexture* texture)
{
    for (const auto& [key, held] : current_) {
        if (held.get() == texture) {
            return held;
        }
    }
    throw EInvalidParameter(this, "GetSP(): texture not found");
}

boost::shared_ptr<ITexture> CTextureCache::LoadSPWithDriverLoader(const std::string& name, bool mipmaps,
                                                                  const std::string& key, os::gfx::Format format)
{
    return LoadSP(DriverLoader(), name, mipmaps, key, format);
}

void CTextureCache::LoadFile(IDataLoader* loader, const std::string& name, bool mipmaps, const std::string& key,
                             os::gfx::Format format)
{
    Load(loader, name, mipmaps, key, format);
}

void CTextureCache::LoadFileWithDriverLoader(const std::string& name, bool mipmaps, const std::string& key,
                                             os::gfx::Format format)
{
    LoadFile(DriverLoader(), name, mipmaps, key, format);
}

void CTextureCache::DirectoryPrecache(IDataLoader* loader, const std::string& directory, bool recursive, bool mipmaps,
                                      const std::string& keySuffix, os::gfx::Format format)
{
    Precache(loader, directory, recursive, mipmaps, keySuffix, format, false);
}

void CTextureCache::DirectoryPrecacheAndPurge(IDataLoader* loader, const std::string& directory, bool recursive,
                                              bool mipmaps, const std::string& keySuffix, os::gfx::Format format)
{
    Precache(loader, directory, recursive, mipmaps, keySuffix, format, true);
}

void CTextureCache::Precache(IDataLoader* loader, const std::string& directory, bool recursive, bool mipmaps,
                             const std::string& keySuffix, os::gfx::Format format, bool purge)
{
    if (loader == nullptr) {
        throw EInvalidParameter(this, "DirectoryPrecache(): no data loader");
    }
    LogInfoF(purge ? "--- precaching texture from directory (with purge) ---"
                   : "--- precaching texture from directory ---");
    std::vector<std::string> names;
    loader->EnumerateFiles(directory, recursive, names);
    for (const std::string& name : names) {
        if (!IsImageName(name)) {
            continue;
        }
        const std::string path = ToLowerString(name);
        LogInfoF("precache: %s", path.c_str());
        LoadFile(loader, path, mipmaps, path + keySuffix, format);
        if (purge) {
            loader->Purge(path);
        }
    }
    LogInfoF("--------");
}

void CTextureCache::DirectoryPrecacheAndPurgeFromDataLoaderMT(IDataLoader* loader, const std::string& directory,
                                                              bool recursive, bool mipmaps,
                                                              const std::string& keySuffix, os::gfx::Format format)
{
    if (loader == nullptr) {
        throw EInvalidParameter(this, "DirectoryPrecache(): no data loader");
    }
    CSimpleProfiler profiler("korvane::CTextureCache::DirectoryPrecacheAndPurgeFromDataLoaderMT");
    try {
        PrecacheOnLoaderThreads(loader, directory, recursive, mipmaps, keySuffix, format);
    } catch (...) {
        // The timing line belongs to a precache that ended normally.
        profiler.Stop(false);
        throw;
    }
    profiler.Stop(true);
}

void CTextureCache::PrecacheOnLoaderThreads(IDataLoader* loader, const std::string& directory, bool recursive,
                                            bool mipmaps, const std::string& keySuffix, os::gfx::Format format)
{
    LogInfoF("--- MULTITHREAD: precaching texture from directory (with purge) ---");
    std::vector<std::string> listed;
    loader->EnumerateFiles(directory, recursive, listed);
    std::vector<std::string> names;
    for (const std::string& name : listed) {
        if (IsImageName(name)) {
            names.push_back(ToLowerString(name));
        }
    }

    os::gfx::Device* device = DriverDevice();
    std::array<boost::shared_ptr<CTextureCacheLoaderThread>, kLoaderThreads> threads;
    for (auto& thread : threads) {
        thread.reset(new CTextureCacheLoaderThread(this));
        thread->Start();
    }
    try {
        for (const std::string& name : names) {
            for (bool handedOut = false; !handedOut;) {
                const std::uint64_t finished = CTextureCacheLoaderThread::GetFinishedCount();
                for (int i = 0; i < kLoaderThreads && !handedOut; ++i) {
                    CTextureCacheLoaderThread& thread = *threads[static_cast<std::size_t>(i)];
                    ThrowRecorded(thread);
                    if (!thread.IsBusy()) {
                        LogInfoF("%d> precache: %s", i, name.c_str());
                        thread.LoadRequest(loader, name, mipmaps, name + keySuffix, format);
                        handedOut = true;
                    }
                }
                if (!handedOut) {
                    // Uploads of what the threads decoded go on meanwhile (on the device's thread),
                    // then a millisecond's poll, cut short when a thread becomes free.
                    if (device != nullptr && device->IsOwnerThread()) {
                        device->RunDeferredWork();
                    }
                    CTextureCacheLoaderThread::WaitForFinished(finished, 1);
                }
            }
        }
        for (int i = 0; i < kLoaderThreads; ++i) {
            CTextureCacheLoaderThread& thread = *threads[static_cast<std::size_t>(i)];
            LogInfoF("terminating thread %d ...", i);
            thread.RequestStop();
            thread.WaitForExit(0, 1);
            ThrowRecorded(thread);
        }
    } catch (...) {
        // Every thread has ended before the error leaves: none may still load into this cache.
        for (auto& thread : threads) {
            thread->RequestStop();
        }
        for (auto& thread : threads) {
            thread->WaitForExit(0, 1);
        }
        throw;
    }
    LogInfoF("--------");
}

void CTextureCache::DirectoryPrecacheWithDriverLoader(const std::string& directory, bool recursive, bool mipmaps,
                                                      const std::string& keySuffix, os::gfx::Format format)
{
    DirectoryPrecache(DriverLoader(), directory, recursive, mipmaps, keySuffix, format);
}

void CTextureCache::RestoreKept()
{
    current_.clear();
    current_ = kept_;
}

void CTextureCache::KeepCurrent()
{
    kept_.clear();
    kept_ = current_;
}

void CTextureCache::ClearKept()
{
    kept_.clear();
}

os::gfx::Device* CTextureCache::DriverDevice()
{
    CGameApplicationDriverCX* driver = GetApplicationDriver();
    CDXGraphics* graphics = driver != nullptr ? driver->GetGraphics() : nullptr;
    return graphics != nullptr ? graphics->GetDevice() : nullptr;
}

IDataLoader* CTextureCache::DriverLoader()
{
    CGameApplicationDriverCX* driver = GetApplicationDriver();
    return driver != nullptr ? driver->GetDataLoader().get() : nullptr;
}

} // namespace korvane
