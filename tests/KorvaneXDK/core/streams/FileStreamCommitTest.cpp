/** @file FileStreamCommitTest.cpp Replacing writes that cannot name a file fail when they open, not when they commit. */
#include <gtest/gtest.h>

#include "KorvaneXDK/core/Exception.h"
#include "KorvaneXDK/core/FileStream.h"
#include "support/LogCapture.h"

using namespace korvane;
using namespace korvane::test;

namespace
{

TEST(FileStreamCommitTest, AnEmptyPathFailsToOpenInBothReplacingModes)
{
    for (std::int32_t mode : {0, 2}) {
        SCOPED_TRACE(mode);
        LogCapture log;
        EXPECT_THROW(CFileStream("", mode, 0), EFileOpenError);
        EXPECT_EQ(log.CountContaining("Win32Error(0x2)"), 1u) << log.All();
    }
}

} // namespace
