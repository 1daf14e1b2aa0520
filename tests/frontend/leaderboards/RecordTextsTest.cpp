/** @file RecordTextsTest.cpp Detail words, board indices, board names and the row texts, without a display. */
#include <cstdlib>
#include <ctime>
#include <tuple>

#include <gtest/gtest.h>

#include "frontend/forms/LeaderboardDownloadJob.h"
#include "frontend/steam/ScoreUpload.h"

TEST(ScoreDetails, CheckSumPackingWrapAndThePreparedRequestsBoards)
{
    LeaderboardRecord record{};
    record.Progress = 5;
    record.Word1 = 1;
    record.UploadTime = (std::uint64_t{100} << 32) | 7u;
    for (int i = 0; i < 10; ++i)
        record.SmallValues[i] = static_cast<std::uint8_t>(i + 1);
    record.Extra[0] = 0x7FFFFFFF;
    record.Extra[51] = 0x7FFFFFFF;
    std::int32_t details[61];
    BuildScoreUploadDetails(record, details);
    EXPECT_EQ(
        std::tuple(5, 7, 100, 0x4321, 0x8765, 0xA9, 0x7FFFFFFF, 0x7FFFFFFF),
        std::tuple(details[0], details[3], details[4], details[5], details[6], details[7], details[9], details[60]));
    // The check sum: every other word (progress, word 1, both halves of the time, ...), modulo 2^32.
    std::uint32_t sum = 0;
    for (int i = 0; i < 61; ++i)
        if (i != 8)
            sum += static_cast<std::uint32_t>(details[i]);
    EXPECT_EQ(static_cast<std::int32_t>(sum), details[8]) << "wraps modulo 2^32";

    PrepareMainGameScoreUpload(3, 1, 0xFFFFFFFFu, 200);
    EXPECT_EQ(std::tuple(8, -1, 200, 1), std::tuple(ScoreUploadRequest.BoardIndex, ScoreUploadRequest.Score,
                                                    ScoreUploadRequest.Progress, ScoreUploadRequest.Word1));
    ScoreUploadRequest.Extra[3] = 9;
    PrepareCompanionGameScoreUpload(1, 1500, 4);
    EXPECT_EQ(std::tuple(11, 0), std::tuple(ScoreUploadRequest.BoardIndex, ScoreUploadRequest.Extra[3]))
        << "every prepare clears the whole request";
}

TEST(RowTexts, BoardNamesStagesDatesAndCuts)
{
    EXPECT_EQ((std::vector<std::string>{"TV/NORMAL", "QVR/HARD (SPECIAL)", "QVR/", "TV/"}),
              (std::vector<std::string>{MakeLeaderboardName(1, 11), MakeLeaderboardName(0, 8),
                                        MakeLeaderboardName(0, 10), MakeLeaderboardName(1, 3)}));
    const std::tuple<int, int, int, const char*> stages[] = {
        {0, 2, 7, "AREA  7"},    {0, 2, 100, "AREA 31"}, {0, 0, 31, "AREA ALL"}, {0, 5, 101, "AREA ALL!"},
        {0, 9, 12, "PHASE ALL"}, {0, 4, 3, "PHASE  3"},  {1, 10, 8, "STAGE 8"},  {1, 11, 9, "STAGE ALL"}};
    for (const auto& [title, board, progress, text] : stages)
        EXPECT_EQ(text, LeaderboardStageText(title, board, progress)) << board << " " << progress;
    // Dates in local time, or empty.
    setenv("TZ", "UTC", 1);
    tzset();
    // 2024-03-05 06:07:08 UTC as a file time, the epoch, and past the last representable year.
    EXPECT_EQ((std::vector<std::string>{"2024/ 3/ 5 06:07:08", "1601/ 1/ 1 00:00:00", ""}),
              (std::vector<std::string>{LeaderboardDateText((1709618828ull + 11644473600ull) * 10000000ull),
                                        LeaderboardDateText(0), LeaderboardDateText(0xFFFFFFFFFFFFFFFFull)}))
        << "empty beyond 30827";
    // Cuts keep whole characters: the third has 14 ASCII bytes, then a two-byte character that would end at byte 16.
    EXPECT_EQ((std::vector<std::string>{"abc", "0123456789abcde", "0123456789abcd", "\xE3\x81\x82\xE3\x81\x82"}),
              (std::vector<std::string>{CutUtf8("abc", 15), CutUtf8("0123456789abcdefgh", 15),
                                        CutUtf8("0123456789abcd\xC3\xA9", 15),
                                        CutUtf8("\xE3\x81\x82\xE3\x81\x82\xE3\x81\x82", 8)}));
}
