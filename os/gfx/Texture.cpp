/** @file Texture.cpp Texture levels, locking, and uploads deferred to the device's thread. */
#include "os/gfx/Texture.h"

#include <epoxy/gl.h>

#include "os/gfx/ContextLink.h"
#include "os/gfx/PixelFormat.h"
#include "os/gfx/ResultCodes.h"
#include "os/gfx/Surface.h"

namespace os::gfx
{

namespace
{

/// Uploads bind on a unit no sampler stage uses, so a stage's binding is never disturbed.
constexpr GLenum kUploadUnit = GL_TEXTURE0 + kSamplerStageCount;

struct GlFormat
{
    GLint internal;
    GLenum format;
    GLenum type;
    GLint swizzle[4];
};

GlFormat GlFormatOf(Format format)
{
    switch (format) {
    case Format::X8R8G8B8:
        return {GL_RGBA8, GL_BGRA, GL_UNSIGNED_BYTE, {GL_RED, GL_GREEN, GL_BLUE, GL_ONE}};
    case Format::R5G6B5:
        return {GL_RGB565, GL_RGB, GL_UNSIGNED_SHORT_5_6_5, {GL_RED, GL_GREEN, GL_BLUE, GL_ONE}};
    case Format::X1R5G5B5:
        return {GL_RGB5_A1, GL_BGRA, GL_UNSIGNED_SHORT_1_5_5_5_REV, {GL_RED, GL_GREEN, GL_BLUE, GL_ONE}};
    case Format::A1R5G5B5:
        return {GL_RGB5_A1, GL_BGRA, GL_UNSIGNED_SHORT_1_5_5_5_REV, {GL_RED, GL_GREEN, GL_BLUE, GL_ALPHA}};
    case Format::A4R4G4B4:
        return {GL_RGBA4, GL_BGRA, GL_UNSIGNED_SHORT_4_4_4_4_REV, {GL_RED, GL_GREEN, GL_BLUE, GL_ALPHA}};
    case Format::L8:
        return {GL_R8, GL_RED, GL_UNSIGNED_BYTE, {GL_RED, GL_RED, GL_RED, GL_ONE}};
    case Format::A8:
        return {GL_R8, GL_RED, GL_UNSIGNED_BYTE, {GL_ZERO, GL_ZERO, GL_ZERO, GL_RED}};
    case Format::DXT1:
        return {GL_COMPRESSED_RGBA_S3TC_DXT1_EXT, GL_RGBA, GL_UNSIGNED_BYTE, {GL_RED, GL_GREEN, GL_BLUE, GL_ALPHA}};
    case Format::DXT3:
        return {GL_COMPRESSED_RGBA_S3TC_DXT3_EXT, GL_RGBA, GL_UNSIGNED_BYTE, {GL_RED, GL_GREEN, GL_BLUE, GL_ALPHA}};
    case Format::DXT5:
        return {GL_COMPRESSED_RGBA_S3TC_DXT5_EXT, GL_RGBA, GL_UNSIGNED_BYTE, {GL_RED, GL_GREEN, GL_BLUE, GL_ALPHA}};
    default:
        return {GL_RGBA8, GL_BGRA, GL_UNSIGNED_BYTE, {GL_RED, GL_GREEN, GL_BLUE, GL_ALPHA}};
    }
}

bool HasS3tc()
{
    static const bool has = epoxy_has_gl_extension("GL_EXT_texture_compression_s3tc");
    return has;
}

} // namespace

Texture::Texture(std::shared_ptr<ContextLink> link, std::uint32_t width, std::uint32_t height, std::uint32_t levels,
                 std::uint32_t usage, Format format, os::gfx::Pool pool)
    : link_(std::move(link)), format_(format), usage_(usage), pool_(pool), levels_(levels)
{
    for (std::uint32_t i = 0; i < levels; ++i) {
        levels_[i].width = LevelSize(width, i);
        levels_[i].height = LevelSize(height, i);
    }
}

Texture::~Texture()
{
    const GLuint name = name_;
    std::vector<std::uint32_t> framebuffers = framebuffers_;
    if (link_ && name != 0) {
        link_->Release([name, framebuffers] {
            for (GLuint fbo : framebuffers) {
                if (fbo != 0) {
                    glDeleteFramebuffers(1, &fbo);
                }
            }
            glDeleteTextures(1, &name);
        });
    }
}

bool Texture::KeepsCpuImage() const
{
    return pool_ != os::gfx::Pool::Default || (usage_ & usage::Dynamic) != 0;
}

bool Texture::Lockable() const
{
    return KeepsCpuImage() && (usage_ & usage::RenderTarget) == 0;
}

Result Texture::GetLevelDesc(std::uint32_t level, SurfaceDesc* desc) const
{
    if (desc == nullptr || level >= levels_.size()) {
        return kErrInvalidCall;
    }
    desc->Format = format_;
    desc->Type = ResourceType::Surface;
    desc->Usage = usage_;
    desc->Pool = pool_;
    desc->MultiSampleType = MultiSampleType::None;
    desc->MultiSampleQuality = 0;
    desc->Width = levels_[level].width;
    desc->Height = levels_[level].height;
    return kOk;
}

Result Texture::GetSurfaceLevel(std::uint32_t level, std::shared_ptr<Surface>* surface)
{
    if (surface == nullptr) {
        return kErrInvalidCall;
    }
    surface->reset();
    SurfaceDesc desc;
    const Result result = GetLevelDesc(level, &desc);
    if (Failed(result)) {
        return result;
    }
    surface->reset(new Surface(shared_from_this(), level, desc));
    return kOk;
}

Result Texture::LockRect(std::uint32_t level, LockedRect* locked, const Rect* rect, std::uint32_t)
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (locked == nullptr || level >= levels_.size() || !Lockable() || levels_[level].locked) {
        return kErrInvalidCall;
    }
    Level& l = levels_[level];
    const std::uint64_t pitch = RowPitch(format_, l.width);
    std::uint64_t offset = 0;
    if (rect != nullptr) {
        // Compressed levels lock whole blocks.
        const bool blocks = IsCompressedFormat(format_);
        if (rect->left < 0 || rect->top < 0 || rect->right <= rect->left || rect->bottom <= rect->top ||
            static_cast<std::uint32_t>(rect->right) > l.width || static_cast<std::uint32_t>(rect->bottom) > l.height ||
            (blocks && (rect->left % 4 != 0 || rect->top % 4 != 0))) {
            return kErrInvalidCall;
        }
        const auto left = static_cast<std::uint64_t>(rect->left);
        const auto top = static_cast<std::uint64_t>(rect->top);
        offset = blocks ? (top / 4) * pitch + (left / 4) * FormatUnitBytes(format_)
                        : top * pitch + left * FormatUnitBytes(format_);
    }
    if (l.texels.empty()) {
        l.texels.assign(static_cast<std::size_t>(LevelBytes(format_, l.width, l.height)), 0);
    }
    l.locked = true;
    locked->Pitch = static_cast<std::int32_t>(pitch);
    locked->Bits = l.texels.data() + offset;
    return kOk;
}

Result Texture::UnlockRect(std::uint32_t level)
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (level >= levels_.size() || !levels_[level].locked) {
            return kErrInvalidCall;
        }
        levels_[level].locked = false;
        levels_[level].dirty = true;
    }
    QueueUpload();
    return kOk;
}

Result Texture::WriteLevel(std::uint32_t level, std::vector<std::uint8_t> texels)
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (level >= levels_.size() || levels_[level].locked ||
            texels.size() != LevelBytes(format_, levels_[level].width, levels_[level].height)) {
            return kErrInvalidCall;
        }
        levels_[level].texels = std::move(texels);
        levels_[level].dirty = true;
    }
    QueueUpload();
    return kOk;
}

void Texture::QueueUpload()
{
    if (!link_ || pool_ == os::gfx::Pool::SystemMem) {
        return;
    }
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (uploadQueued_) {
            return;
        }
        uploadQueued_ = true;
    }
    // Runs at once on the device's thread, otherwise at its next call; dropped once it is gone.
    std::weak_ptr<Texture> weak = weak_from_this();
    link_->Release([weak] {
        if (auto texture = weak.lock()) {
            texture->Prepare();
        }
    });
}

bool Texture::IsUploaded() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (name_ == 0) {
        return false;
    }
    for (const Level& l : levels_) {
        if (l.dirty) {
            return false;
        }
    }
    return true;
}

std::uint32_t Texture::Prepare()
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (pool_ == os::gfx::Pool::SystemMem) {
        return 0;
    }
    UploadLocked();
    return name_;
}

void Texture::UploadLocked()
{
    uploadQueued_ = false;
    const bool compressed = IsCompressedFormat(format_);
    // Without S3TC the blocks are expanded to A8R8G8B8 texels on the way.
    const bool expand = compressed && !HasS3tc();
    const GlFormat gl = GlFormatOf(expand ? Format::A8R8G8B8 : format_);
    glActiveTexture(kUploadUnit);
    const bool create = name_ == 0;
    if (create) {
        glGenTextures(1, &name_);
        glBindTexture(GL_TEXTURE_2D, name_);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_BASE_LEVEL, 0);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, static_cast<GLint>(levels_.size()) - 1);
        glTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_SWIZZLE_RGBA, gl.swizzle);
    } else {
        glBindTexture(GL_TEXTURE_2D, name_);
    }
    std::vector<std::uint32_t> expanded;
    std::vector<std::uint8_t> zeros;
    for (std::uint32_t i = 0; i < levels_.size(); ++i) {
        Level& l = levels_[i];
        if (!create && (!l.dirty || l.locked)) {
            continue;
        }
        const auto w = static_cast<GLsizei>(l.width);
        const auto h = static_cast<GLsizei>(l.height);
        // A locked level may be being written on another thread: its texels are read only after
        // the unlock, which uploads it again; a new object gets it as zeros meanwhile.
        const void* data = l.texels.empty() || l.locked ? nullptr : l.texels.data();
        if (expand) {
            expanded.assign(static_cast<std::size_t>(l.width) * l.height, 0);
            if (data != nullptr) {
                DecompressBlocks(format_, l.texels.data(), l.width, l.height, expanded.data());
            }
            data = expanded.data();
        } else if (data == nullptr) {
            // Fresh levels read as zero, like cleared memory.
            zeros.assign(static_cast<std::size_t>(LevelBytes(format_, l.width, l.height)), 0);
            data = zeros.data();
        }
        const auto level = static_cast<GLint>(i);
        if (compressed && !expand) {
            const auto bytes = static_cast<GLsizei>(LevelBytes(format_, l.width, l.height));
            if (create) {
                glCompressedTexImage2D(GL_TEXTURE_2D, level, static_cast<GLenum>(gl.internal), w, h, 0, bytes, data);
            } else {
                glCompressedTexSubImage2D(GL_TEXTURE_2D, level, 0, 0, w, h, static_cast<GLenum>(gl.internal), bytes,
                                          data);
            }
        } else if (create) {
            glTexImage2D(GL_TEXTURE_2D, level, gl.internal, w, h, 0, gl.format, gl.type, data);
        } else {
            glTexSubImage2D(GL_TEXTURE_2D, level, 0, 0, w, h, gl.format, gl.type, data);
        }
        if (l.locked) {
            continue;
        }
        l.dirty = false;
        if (!KeepsCpuImage()) {
            std::vector<std::uint8_t>().swap(l.texels);
        }
    }
    glBindTexture(GL_TEXTURE_2D, 0);
    glActiveTexture(GL_TEXTURE0);
}

std::uint32_t Texture::GetFramebuffer(std::uint32_t level)
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (level >= levels_.size() || pool_ == os::gfx::Pool::SystemMem) {
        return 0;
    }
    UploadLocked();
    framebuffers_.resize(levels_.size(), 0);
    GLuint& fbo = framebuffers_[level];
    if (fbo == 0) {
        glGenFramebuffers(1, &fbo);
        glBindFramebuffer(GL_FRAMEBUFFER, fbo);
        glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, name_, static_cast<GLint>(level));
    }
    return fbo;
}

} // namespace os::gfx
