/** @file DriverFixture.h The one driver with a device on its hidden window, files packed into an archive by the
 * project's tool, and a loader that records what is opened and how many loads run at once. */
#pragma once

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <map>
#include <mutex>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "KorvaneXDK/core/ArchiveFileDataLoader.h"
#include "KorvaneXDK/core/ArchiveFileLoader.h"
#include "KorvaneXDK/core/DataLoader.h"
#include "KorvaneXDK/core/KorvaneStream.h"
#include "KorvaneXDK/platform/GameApplicationDriverCX.h"
#include "KorvaneXDK/platform/graphics/DXGraphics.h"
#include "os/gfx/Device.h"
#include "os/gfx/ResultCodes.h"
#include "os/gfx/Testing.h"
#include "support/TempDir.h"
#include "tools/kvatool/Packer.h"

namespace graphicstest
{

/// Wraps a real loader: records the names opened in order and counts the loads in flight (from
/// an open to the purge of the same name). With a gate, the first `gate` opens wait until that
/// many loads run at once, which proves they overlap without any sleeping. A name may be set to
/// throw a standard error instead.
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
        return static_cast<int>(std::count(opened.begin(), opened.end(), name));
    }
    int TotalOpens()
    {
        std::lock_guard<std::mutex> lock(mutex_);
        return static_cast<int>(opened.size());
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

    /// Every name opened, in order (read it only while no loader thread runs).
    std::vector<std::string> opened;

private:
    void Enter(const std::string& name)
    {
        std::unique_lock<std::mutex> lock(mutex_);
        opened.push_back(name);
        ++active_;
        maxActive_ = std::max(maxActive_, active_);
        // Once that many loads ran together the gate stays open, whoever finishes first.
        gateOpen_ = gateOpen_ || active_ >= gate_;
        changed_.notify_all();
        if (static_cast<int>(opened.size()) <= gate_) {
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
    std::vector<std::string> purged_;
    std::string failing_;
    int active_ = 0;
    int maxActive_ = 0;
    bool gateOpen_ = false;
};

/// A file of the program's own data folder.
inline std::string ReadProjectData(const std::string& relative)
{
    return korvane::test::TempDir::Read(std::string(KORVANE_SOURCE_DIR) + "/data/" + relative);
}

/// The driver with a Width x Height device on its hidden window, and a folder of files packed
/// into an archive on request.
template <std::uint32_t Width, std::uint32_t Height>
class DriverTest : public ::testing::Test
{
protected:
    static constexpr std::uint32_t kWidth = Width;
    static constexpr std::uint32_t kHeight = Height;

    void SetUp() override
    {
        os::testing::ResetGraphicsHooks();
        ASSERT_TRUE(korvane::CreateApplicationDriver(nullptr));
        driver = korvane::GetApplicationDriver();
        ASSERT_TRUE(driver->InitializeGraphicsForTesting(kWidth, kHeight));
        device = driver->GetGraphics()->GetDevice();
        ASSERT_NE(nullptr, device);
    }

    void TearDown() override
    {
        os::testing::SetDrawRecording(false);
        os::testing::ClearRecordedDraws();
        korvane::DestroyApplicationDriver();
        os::testing::ResetGraphicsHooks();
    }

    /// Adds a file under its archive name (either separator).
    void AddFile(std::string name, const std::string& bytes)
    {
        std::replace(name.begin(), name.end(), '\\', '/');
        dir.Write("src/" + name, bytes);
    }

    /// Packs the files added so far with the project's archive tool and opens the archive.
    boost::shared_ptr<korvane::IDataLoader> PackArchive()
    {
        std::filesystem::create_directories(dir.File("out"));
        kvatool::PackOptions options;
        kvatool::PackFolder(dir.File("src"), dir.File("out/data.kva"), options);
        return boost::shared_ptr<korvane::IDataLoader>(
            new korvane::TArchiveFileDataLoader<korvane::CArchiveFileLoader>(dir.File("out/data.kva")));
    }

    std::vector<std::uint32_t> ReadPixels()
    {
        std::vector<std::uint32_t> pixels;
        EXPECT_EQ(os::gfx::kOk, device->ReadBackBuffer(&pixels, nullptr, nullptr));
        return pixels;
    }

    korvane::test::TempDir dir;
    korvane::CGameApplicationDriverCX* driver = nullptr;
    os::gfx::Device* device = nullptr;
};

} // namespace graphicstest
