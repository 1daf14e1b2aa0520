/** @file HostArchive.h The driver with a data loader over an archive packed by the project's tool. */
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

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
    std::string data;
    for (std::uint32_t i = 0; i < frames; ++i) {
        const std::int16_t sample = (i / 20) % 2 ? 8000 : -8000;
        data.push_back(static_cast<char>(sample & 0xFF));
        data.push_back(static_cast<char>((sample >> 8) & 0xFF));
    }
    auto u32 = [](std::uint32_t v) {
        return std::string{static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16),
                           static_cast<char>(v >> 24)};
    };
    auto u16 = [](std::uint16_t v) { return std::string{static_cast<char>(v), static_cast<char>(v >> 8)}; };
    std::string fmt = u16(1) + u16(1) + u32(rate) + u32(rate * 2) + u16(2) + u16(16);
    std::string body = "WAVE" + std::string("fmt ") + u32(static_cast<std::uint32_t>(fmt.size())) + fmt + "data" +
                       u32(static_cast<std::uint32_t>(data.size())) + data;
    return "RIFF" + u32(static_cast<std::uint32_t>(body.size())) + body;
}

/// The five interface sounds and a text table for each language, as the resource scene loads them.
inline std::vector<std::string> UiSoundNames()
{
    return {"05", "01", "06", "20", "16"};
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
