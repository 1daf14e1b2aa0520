/** @file TextureFixture.h The driver with a small device for texture tests, images packed into an archive by the
 * project's tool, and a loader that counts what is opened and how many loads run at once. */
#pragma once

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <map>
#include <mutex>
#include <stdexcept>
#include <string>

#include <gtest/gtest.h>

#include "KorvaneXDK/core/ArchiveFileDataLoader.h"
#include "KorvaneXDK/core/ArchiveFileLoader.h"
#include "KorvaneXDK/core/DataLoader.h"
#include "KorvaneXDK/core/KorvaneStream.h"
#include "KorvaneXDK/platform/GameApplicationDriverCX.h"
#include "KorvaneXDK/platform/graphics/DXGraphics.h"
#include "os/gfx/Device.h"
#include "os/gfx/ResultCodes.h"
#include "os/gfx/TestImageWriter.h"
#include "os/gfx/Testing.h"
#include "os/gfx/TextureDraw.h"
#include "support/TempDir.h"
#include "tools/kvatool/Packer.h"

namespace texturetest
{

/// Wraps a real loader: counts opens per name and the loads in flight (from an open to the
/// purge of the same name). With a gate, the first `gate` opens wait until that many loads
/// run at once, which proves they overlap without any sleeping. A name may be set to throw a
/// standard error instead.
class CountingLoader : public korvane::IDataLoader
{
public:
    explicit CountingLoader(boost::shared_ptr<korvane::IDataLoader> inner, int gate = 0)
        : inner_(std::move(inner)), gate_(gate)
    {}

    korvane::IKorvaneStream* Open(const std::string& name) override
    {
        Enter(name);
        return inner_->Open(name);
    }
    boost::shared_ptr<korvane::IKorvaneStream> OpenShared(const std::string& name) override
    {
        Enter(name);
        return inner_->OpenShared(name);
    }
    bool Exists(const std::string& name) override { return inner_->Exists(name); }
    void EnumerateFiles(const std::string& directory, bool recursive, std::vector<std::string>& out) override
    {
        inner_->EnumerateFiles(directory, recursive, out);
    }
    void Purge(const std::string& name) override
    {
        std::lock_guard<std::mutex> lock(mutex_);
        --active_;
        purged_.push_back(name);
    }
    void Prefetch(const std::string& name) override { inner_->Prefetch(name); }

    void ThrowFor(const std::string& name) { failing_ = name; }
    int Opens(const std::string& name)
    {
        std::lock_guard<std::mutex> lock(mutex_);
        return opens_[name];
    }
    int TotalOpens()
    {
        std::lock_guard<std::mutex> lock(mutex_);
        int total = 0;
        for (const auto& [name, count] : opens_) {
            total += count;
        }
        return total;
    }
    int MaxActive()
    {
        std::lock_guard<std::mutex> lock(mutex_);
        return maxActive_;
    }
    std::vector<std::string> Purged()
    {
        std::lock_guard<std::mutex> lock(mutex_);
        return purged_;
    }

private:
    void Enter(const std::string& name)
    {
        std::unique_lock<std::mutex> lock(mutex_);
        ++opens_[name];
        ++active_;
        maxActive_ = std::max(maxActive_, active_);
        ++entered_;
        // Once that many loads ran together the gate stays open, whoever finishes first.
        gateOpen_ = gateOpen_ || active_ >= gate_;
        changed_.notify_all();
        if (entered_ <= gate_) {
            // Bounded only so that a broken dispatcher fails the test instead of hanging it.
            changed_.wait_for(lock, std::chrono::seconds(20), [this] { return gateOpen_; });
        }
        if (name == failing_) {
            throw std::runtime_error("the disk is on fire");
        }
    }

    boost::shared_ptr<korvane::IDataLoader> inner_;
    int gate_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::map<std::string, int> opens_;
    std::vector<std::string> purged_;
    std::string failing_;
    int active_ = 0;
    int maxActive_ = 0;
    int entered_ = 0;
    bool gateOpen_ = false;
};

/// A 16 x 16 image of one colour per index.
inline std::uint32_t ColourOf(int index)
{
    return 0xFF000000u | (static_cast<std::uint32_t>((index * 37) & 0xFF) << 16) |
           (static_cast<std::uint32_t>((255 - index * 11) & 0xFF) << 8) |
           static_cast<std::uint32_t>((index * 5) & 0xFF);
}

inline std::string ColourPng(int index)
{
    const std::uint32_t colour = ColourOf(index);
    return gfxtest::WritePng(16, 16, PNG_COLOR_TYPE_RGB, 8, [colour](std::uint32_t, std::uint32_t) { return colour; });
}

/// The driver with a 64 x 48 device drawing textures one texel per pixel, and a folder of
/// files packed into an archive on request.
class TextureFixture : public ::testing::Test
{
protected:
    static constexpr std::uint32_t kWidth = 64;
    static constexpr std::uint32_t kHeight = 48;

    void SetUp() override
    {
        os::testing::ResetGraphicsHooks();
        ASSERT_TRUE(korvane::CreateApplicationDriver(nullptr));
        driver = korvane::GetApplicationDriver();
        ASSERT_TRUE(driver->InitializeGraphicsForTesting(kWidth, kHeight));
        device = driver->GetGraphics()->GetDevice();
        ASSERT_NE(nullptr, device);
        draw.SetUp(*device, kWidth, kHeight);
    }

    void TearDown() override
    {
        draw.Release();
        korvane::DestroyApplicationDriver();
        os::testing::ResetGraphicsHooks();
    }

    void AddFile(const std::string& path, const std::string& bytes) { dir.Write("src/" + path, bytes); }

    /// Packs the files added so far with the project's archive tool and opens the archive.
    boost::shared_ptr<korvane::IDataLoader> PackArchive()
    {
        std::filesystem::create_directories(dir.File("out"));
        kvatool::PackOptions options;
        kvatool::PackFolder(dir.File("src"), dir.File("out/data.kva"), options);
        return boost::shared_ptr<korvane::IDataLoader>(
            new korvane::TArchiveFileDataLoader<korvane::CArchiveFileLoader>(dir.File("out/data.kva")));
    }

    /// The pixel at (x, y) after drawing stage 0's texture of the given surface size.
    std::uint32_t DrawnPixel(std::uint32_t surfaceWidth, std::uint32_t surfaceHeight, std::uint32_t x, std::uint32_t y)
    {
        EXPECT_EQ(os::gfx::kOk, device->Clear(0, nullptr, os::gfx::clear::Target, 0xFF202020u, 1.0f, 0));
        EXPECT_EQ(os::gfx::kOk, gfxtest::TextureDraw::Draw(*device, surfaceWidth, surfaceHeight));
        std::vector<std::uint32_t> pixels;
        EXPECT_EQ(os::gfx::kOk, device->ReadBackBuffer(&pixels, nullptr, nullptr));
        return pixels.at(static_cast<std::size_t>(y) * kWidth + x);
    }

    korvane::test::TempDir dir;
    korvane::CGameApplicationDriverCX* driver = nullptr;
    os::gfx::Device* device = nullptr;
    gfxtest::TextureDraw draw;
};

} // namespace texturetest
