/** @file TextureCacheLoaderThread.cpp A loader thread's request slot, its polling loop and its error records. */
#include "KorvaneXDK/platform/graphics/TextureCacheLoaderThread.h"

#include <chrono>

#include "KorvaneXDK/core/DataLoader.h"
#include "KorvaneXDK/core/Log.h"
#include "KorvaneXDK/core/ScopedLock.h"
#include "KorvaneXDK/platform/graphics/TextureCache.h"

namespace korvane
{

namespace
{

struct FinishedSignal
{
    std::mutex mutex;
    std::condition_variable changed;
    std::uint64_t count = 0;
};

FinishedSignal& Finished()
{
    static FinishedSignal signal;
    return signal;
}

void NotifyFinished()
{
    FinishedSignal& signal = Finished();
    {
        std::lock_guard<std::mutex> lock(signal.mutex);
        ++signal.count;
    }
    signal.changed.notify_all();
}

} // namespace

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
    {
        std::lock_guard<std::mutex> wake(wakeMutex_);
        ++requests_;
    }
    wake_.notify_all();
}

void CTextureCacheLoaderThread::Run()
{
    std::uint64_t seenRequests = 0;
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
            // Polls every millisecond like a sleep, but a request handed over meanwhile ends the wait.
            std::unique_lock<std::mutex> wake(wakeMutex_);
            wake_.wait_for(wake, std::chrono::milliseconds(1), [&] { return requests_ != seenRequests; });
            seenRequests = requests_;
            continue;
        }
        try {
            cache_->LoadFile(loader, name, mipmaps, key, format);
            loader->Purge(name);
        } catch (const EException& e) {
            {
                CScopedLock lock(requestLock_);
                engineError_.emplace(e);
            }
            NotifyFinished();
            return;
        } catch (const std::exception& e) {
            {
                CScopedLock lock(requestLock_);
                standardError_.emplace(e.what());
            }
            NotifyFinished();
            return;
        } catch (...) {
            // Recorded too: a thread that ended busy without an error would keep the dispatcher waiting for ever.
            {
                CScopedLock lock(requestLock_);
                standardError_.emplace("unknown exception");
            }
            NotifyFinished();
            return;
        }
        {
            CScopedLock lock(requestLock_);
            busy_ = false;
            hasRequest_ = false;
        }
        NotifyFinished();
    }
}

std::uint64_t CTextureCacheLoaderThread::GetFinishedCount()
{
    FinishedSignal& signal = Finished();
    std::lock_guard<std::mutex> lock(signal.mutex);
    return signal.count;
}

void CTextureCacheLoaderThread::WaitForFinished(std::uint64_t seen, std::uint32_t milliseconds)
{
    FinishedSignal& signal = Finished();
    std::unique_lock<std::mutex> lock(signal.mutex);
    signal.changed.wait_for(lock, std::chrono::milliseconds(milliseconds), [&] { return signal.count != seen; });
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
