/** @file HostArchive.h The driver with a data loader over an archive packed by the project's tool. */
#pragma once

#include <filesystem>

#include <gtest/gtest.h>

#include "KorvaneXDK/core/ArchiveFileDataLoader.h"
#include "KorvaneXDK/core/ArchiveFileLoader.h"
#include "KorvaneXDK/platform/GameApplicationDriverCX.h"
#include "support/TempDir.h"
#include "tools/kvatool/Packer.h"

namespace host_test
{

/// A mono 16-bit PCM WAVE file of `frames` frames of a square wave at the given rate.
inline std::string MakeWave(std::uint32_t rate, std::uint32_t frames)
{
    // Little-endian fields, as the host stores them.
    auto le = [](std::size_t value, std::size_t bytes) { return std::string(reinterpret_cast<char*>(&value), bytes); };
    std::string data;
    for (std::uint32_t i = 0; i < frames; ++i)
        data += le(static_cast<std::uint16_t>((i / 20) % 2 ? 8000 : -8000), 2);
    const std::string fmt = le(1, 2) + le(1, 2) + le(rate, 4) + le(rate * 2, 4) + le(2, 2) + le(16, 2);
    return "RIFF" + le(36 + data.size(), 4) + "WAVEfmt " + le(fmt.size(), 4) + fmt + "data" + le(data.size(), 4) + data;
}

/// Files are added under their archive names ("rom0_qvr2/a.bin"); Pack makes the archive and
/// hands it to a fresh driver as its data loader.
class HostArchive
{
public:
    void Add(const std::string& name, const std::string& bytes) { dir.Write("src/" + name, bytes); }
    void Pack()
    {
        std::filesystem::create_directories(dir.File("out"));
        kvatool::PackFolder(dir.File("src"), dir.File("out/data.kva"), kvatool::PackOptions());
        ASSERT_TRUE(korvane::CreateApplicationDriver(nullptr));
        korvane::GetApplicationDriver()->SetDataLoader(boost::shared_ptr<korvane::IDataLoader>(
            new korvane::TArchiveFileDataLoader<korvane::CArchiveFileLoader>(dir.File("out/data.kva"))));
    }
    korvane::test::TempDir dir;
};

} // namespace host_test
