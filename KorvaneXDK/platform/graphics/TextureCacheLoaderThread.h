/** @file TextureCacheLoaderThread.h One of the threads a multithreaded precache loads textures on. */
#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>

#include "KorvaneXDK/core/CriticalSection.h"
#include "KorvaneXDK/core/Exception.h"
#include "KorvaneXDK/core/Thread.h"
#include "os/gfx/Types.h"

namespace korvane
{

class CTextureCache;
class IDataLoader;

/// Holds one request at a time: the dispatcher hands one over while the thread is not busy,
/// the thread loads it into the cache, asks the loader to purge the name and is idle again.
/// A stop request is honoured only while idle, so a request handed over just before still
/// runs. An error ends the thread and is kept for the dispatcher to throw again.
class CTextureCacheLoaderThread : public CThread
{
public:
    /// Created held; the cache is not owned.
    explicit CTextureCacheLoaderThread(CTextureCache* cache);
    ~CTextureCacheLoaderThread() override;

    void Run() override;
    virtual bool IsBusy();
    virtual bool HasRequest();
    /// Hands over a request; while busy it is dropped and an error line logged.
    virtual void LoadRequest(IDataLoader* loader, const std::string& name, bool mipmaps, const std::string& key,
                             os::gfx::Format format);
    virtual bool HasEngineError();
    virtual bool HasStandardError();
    /// The engine error the thread ended with (message and where kept).
    virtual EException GetEngineError();
    /// The standard error the thread ended with (its message kept).
    virtual std::runtime_error GetStandardError();

    /// How many requests every loader thread together has finished (or failed) so far.
    static std::uint64_t GetFinishedCount();
    /// Waits up to `milliseconds` for that count to pass `seen`: the dispatcher's poll, woken
    /// early when a thread becomes free.
    static void WaitForFinished(std::uint64_t seen, std::uint32_t milliseconds);

private:
    CTextureCache* cache_;
    CCriticalSection requestLock_;
    bool busy_ = false;
    bool hasRequest_ = false;
    IDataLoader* loader_ = nullptr;
    std::string name_;
    bool mipmaps_ = false;
    std::string key_;
    os::gfx::Format format_ = os::gfx::Format::Unknown;
    std::optional<EException> engineError_;
    std::optional<std::runtime_error> standardError_;
    // The idle poll waits here, woken early by a new request.
    std::mutex wakeMutex_;
    std::condition_variable wake_;
    std::uint64_t requests_ = 0;
};

} // namespace korvane
