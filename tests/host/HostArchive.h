/** @file HostArchive.h The driver with a data loader over an archive packed by the project's tool. */
#pragma once

#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "KorvaneXDK/core/ArchiveFileDataLoader.h"
#include "KorvaneXDK/core/ArchiveFileLoader.h"
#include "KorvaneXDK/platform/GameApplicationDriverCX.h"
#include "support/TempDir.h"
#include "tools/kvatool/Packer.h"

namespace host_test
{

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
