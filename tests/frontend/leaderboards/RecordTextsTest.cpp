/** @file RecordTextsTest.cpp Detail words, board indices, board names and the row texts, without a display. */
#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>
#include <tuple>

#include <gtest/gtest.h>

#include "frontend/forms/LeaderboardDownloadJob.h"
#include "frontend/steam/ScoreUpload.h"

namespace
{

/// TZ for one test, then what it was before (or its absence again), so that the tests after it
/// read their own zone.
class ScopedTimeZone
{
public:
    explicit ScopedTimeZone(const char* zone)
    {
        if (const char* before = std::getenv("TZ"))
            saved_ = before;
        setenv("TZ", zone, 1);
        tzset();
    }
    ~ScopedTimeZone()
    {
        if (saved_)
            setenv("TZ", saved_->c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }
    ScopedTimeZone(const ScopedTimeZone&) = delete;
    ScopedTimeZone& operator=(const ScopedTimeZone&) = delete;

private:
    std::optional<std::string> saved_;
};

} // namespace

TEST(ScoreDetails, CheckSumPackingWrapAndThePreparedRequestsBoards)
{
    LeaderboardRecord record{};
    record.Progress = 5;
    record.Word1 = 1;
    record.UploadTime = (std::uint64_t{100} << 32) | 7u;
    std::int32_t details[61];
    BuildScoreUploadDetails(record, details);
    EXPECT_EQ(113, details[8]) << "progress 5, word 1 and the time's halves 100 and 7";

    for (int i = 0; i < 10; ++i)
        record.SmallValues[i] = static_cast<std::uint8_t>(i + 1);
    record.Extra[0] = 0x7FFFFFFF;
    record.Extra[51] = 0x7FFFFFFF;
    BuildScoreUploadDetails(record, details);
    EXPECT_EQ(
        std::tuple(5, 7, 100, 0x4321, 0x8765, 0xA9, 0x7FFFFFFF, 0x7FFFFFFF),
        std::tuple(details[0], details[3], details[4], details[5], details[6], details[7], details[9], details[60]));
    // The check sum, worked out by hand: 113 + 0x4321 + 0x8765 + 0xA9 + 2 x 0x7FFFFFFF = 2^32 + 0xCB9E.
    EXPECT_EQ(0xCB9E, details[8]) << "wraps modulo 2^32";
    record = LeaderboardRecord{};
    record.Progress = 100;
    record.Extra[10] = -200;
    BuildScoreUploadDetails(record, details);
    EXPECT_EQ(-100, details[8]) << "a negative word counts as its two's complement";

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
    const ScopedTimeZone utc("UTC");
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
