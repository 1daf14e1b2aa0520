/** @file TextureCacheLoaderThread.cpp A loader thread's request slot, its polling loop and its error records. */
#include "KorvaneXDK/platform/graphics/TextureCacheLoaderThread.h"

#include "KorvaneXDK/core/DataLoader.h"
#include "KorvaneXDK/core/Log.h"
#include "KorvaneXDK/core/ScopedLock.h"
#include "KorvaneXDK/platform/graphics/TextureCache.h"
#include "os/system/System.h"

namespace korvane
{

CTextureCacheLoaderThread::CTextureCacheLoaderThread(CTextureCache* cache) : cache_(cache) {}

CTextureCacheLoaderThread::~CTextureCacheLoaderThread()
{
    // Run reads this object's fields: it must have ended before they go.
    StopAndWait();
}

bool CTextureCacheLoaderThread::IsBusy()
{
    CScopedLock lock(requestLock_);
    return busy_;
}

bool CTextureCacheLoaderThread::HasRequest()
{
    CScopedLock lock(requestLock_);
    return hasRequest_;
}

void CTextureCacheLoaderThread::LoadRequest(IDataLoader* loader, const std::string& name, bool mipmaps,
                                            const std::string& key, os::gfx::Format format)
{
    CScopedLock lock(requestLock_);
    if (busy_) {
        LogErrorF("korvane::CTextureCacheLoaderThread::LoadRequest: THREAD IS BUSY!!");
        return;
    }
    busy_ = true;
    hasRequest_ = true;
    loader_ = loader;
    name_ = name;
    mipmaps_ = mipmaps;
    key_ = key;
    format_ = format;
}

void CTextureCacheLoaderThread::Run()
{
    for (;;) {
        // The slot is copied under the lock: the dispatcher writes it from another thread.
        IDataLoader* loader = nullptr;
        std::string name;
        std::string key;
        bool mipmaps = false;
        os::gfx::Format format = os::gfx::Format::Unknown;
        bool has = false;
        {
            CScopedLock lock(requestLock_);
            has = hasRequest_;
            if (has) {
                loader = loader_;
                name = name_;
                key = key_;
                mipmaps = mipmaps_;
                format = format_;
            }
        }
        if (!has) {
            if (IsStopRequested()) {
                return;
            }
            os::system::Sleep(1);
            continue;
        }
        try {
            cache_->LoadFile(loader, name, mipmaps, key, format);
            loader->Purge(name);
        } catch (const EException& e) {
            CScopedLock lock(requestLock_);
            engineError_.emplace(e);
            return;
        } catch (const std::exception& e) {
            CScopedLock lock(requestLock_);
            standardError_.emplace(e.what());
            return;
        }
        CScopedLock lock(requestLock_);
        busy_ = false;
        hasRequest_ = false;
    }
}

bool CTextureCacheLoaderThread::HasEngineError()
{
    CScopedLock lock(requestLock_);
    return engineError_.has_value();
}

bool CTextureCacheLoaderThread::HasStandardError()
{
    CScopedLock lock(requestLock_);
    return standardError_.has_value();
}

EException CTextureCacheLoaderThread::GetEngineError()
{
    CScopedLock lock(requestLock_);
    return engineError_ ? *engineError_ : EException(nullptr, std::string());
}

std::runtime_error CTextureCacheLoaderThread::GetStandardError()
{
    CScopedLock lock(requestLock_);
    return standardError_ ? *standardError_ : std::runtime_error(std::string());
}

} // namespace korvane
