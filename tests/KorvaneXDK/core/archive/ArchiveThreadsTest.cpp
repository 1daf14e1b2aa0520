/** @file ArchiveThreadsTest.cpp Entries opened from several threads at once through one loader. */
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "ArchiveTestSupport.h"
#include "KorvaneXDK/core/ArchiveFileDataLoader.h"
#include "KorvaneXDK/core/ArchiveFileLoader.h"
#include "KorvaneXDK/core/DataLoaderChain.h"

using namespace archive_test;

TEST(ArchiveThreads, EntriesOpenFromSeveralThreadsAtOnce)
{
    korvane::test::TempDir dir;
    std::vector<std::pair<std::string, Bytes>> files;
    const std::int32_t methods[] = {0, 1, 0x100, 0x101};
    std::vector<CraftedEntry> entries;
    for (int i = 0; i < 16; ++i) {
        const std::string name = "dir" + std::to_string(i % 3) + "\\entry" + std::to_string(i) + ".bin";
        const Bytes bytes = Pattern(name, 20000 + std::size_t(i) * 1500);
        files.emplace_back(name, bytes);
        entries.push_back(MakeEntry(name, methods[i % 4], bytes));
    }
    const std::string path = dir.Write("threads.kva", CraftArchive(entries));

    CDataLoaderChain chain;
    chain.Add(boost::shared_ptr<korvane::IDataLoader>(
        new korvane::TArchiveFileDataLoader<korvane::CArchiveFileLoader>(path)));

    std::atomic<int> mismatches{0};
    std::atomic<int> failures{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 6; ++t) {
        threads.emplace_back([&, t] {
            for (int round = 0; round < 8; ++round) {
                for (std::size_t k = 0; k < files.size(); ++k) {
                    const auto& [name, bytes] = files[(k * 5 + std::size_t(t) + std::size_t(round)) % files.size()];
                    try {
                        if (ReadAll(chain.Open(name)) != bytes || !chain.Exists(name)) {
                            ++mismatches;
                        }
                    } catch (...) {
                        ++failures;
                    }
                }
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(mismatches.load(), 0);
    EXPECT_EQ(failures.load(), 0);
}
