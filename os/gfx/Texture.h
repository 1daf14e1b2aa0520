/** @file Texture.h A 2D texture: format, usage, pool, levels with their CPU images, and its GL object. */
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "os/gfx/TextureTypes.h"

namespace os::gfx
{

class ContextLink;
class Surface;

/// Made by Device::CreateTexture (or the texture routines) on any thread. The CPU image of
/// each level is the texture until the GL object exists; managed, system-memory and dynamic
/// textures keep it for locking, default-pool ones drop it after their first upload. GL work
/// (the object, uploads of changed levels) runs on the device's thread only: at once when a
/// change comes from there, otherwise at the device's next call. Released on any thread,
/// before or after the device.
class Texture : public std::enable_shared_from_this<Texture>
{
public:
    ~Texture();
    Texture(const Texture&) = delete;
    Texture& operator=(const Texture&) = delete;

    std::uint32_t GetLevelCount() const { return static_cast<std::uint32_t>(levels_.size()); }
    Format GetFormat() const { return format_; }
    std::uint32_t GetUsage() const { return usage_; }
    os::gfx::Pool GetPool() const { return pool_; }
    Result GetLevelDesc(std::uint32_t level, SurfaceDesc* desc) const;
    Result GetSurfaceLevel(std::uint32_t level, std::shared_ptr<Surface>* surface);

    /// Managed, system-memory and dynamic textures only: the level's CPU image (rows top
    /// first), or the part of it in `rect`. Discard may hand out the same memory again.
    Result LockRect(std::uint32_t level, LockedRect* locked, const Rect* rect, std::uint32_t flags);
    /// The level changed: it is uploaded now on the device's thread, else at its next call.
    Result UnlockRect(std::uint32_t level);

    // --- For the device and the texture routines ---------------------------------------------
    /// Replaces a level's texels (RowPitch x RowCount bytes of the format) whatever the pool, as
    /// the routines that create and fill textures do; queues the upload.
    Result WriteLevel(std::uint32_t level, std::vector<std::uint8_t> texels);
    /// The GL texture with every change uploaded; device thread only. 0 when it cannot be made.
    std::uint32_t Prepare();
    /// A framebuffer with the level attached (render targets); device thread only.
    std::uint32_t GetFramebuffer(std::uint32_t level);
    /// Whether a GL object exists and no change waits for upload.
    bool IsUploaded() const;

private:
    friend class Device;
    struct Level
    {
        std::uint32_t width = 0;
        std::uint32_t height = 0;
        std::vector<std::uint8_t> texels; ///< empty: all zero, or dropped after the upload
        bool dirty = true;
        bool locked = false;
    };

    Texture(std::shared_ptr<ContextLink> link, std::uint32_t width, std::uint32_t height, std::uint32_t levels,
            std::uint32_t usage, Format format, os::gfx::Pool pool);
    bool KeepsCpuImage() const;
    bool Lockable() const;
    void QueueUpload();
    void UploadLocked();

    std::shared_ptr<ContextLink> link_;
    Format format_;
    std::uint32_t usage_;
    os::gfx::Pool pool_;
    mutable std::mutex mutex_;
    std::vector<Level> levels_;
    std::uint32_t name_ = 0;
    std::vector<std::uint32_t> framebuffers_;
    bool uploadQueued_ = false;
};

} // namespace os::gfx
