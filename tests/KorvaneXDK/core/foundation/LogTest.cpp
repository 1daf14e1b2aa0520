/** @file LogTest.cpp The log file's line formats, the hook and the exception reports. */
#include <gtest/gtest.h>

#include <ios>
#include <new>
#include <regex>
#include <stdexcept>
#include <thread>
#include <vector>

#include "KorvaneXDK/core/Exception.h"
#include "KorvaneXDK/core/ExceptionReport.h"
#include "KorvaneXDK/core/FilePath.h"
#include "KorvaneXDK/core/Log.h"
#include "KorvaneXDK/core/TypeName.h"
#include "os/system/System.h"
#include "support/TempDir.h"

namespace korvane {

// A sender type whose name shows in reports.
class CReportingObject : public virtual CNonCopyable
{
public:
    void Fail() const { throw EFileOpenError(this, "Cannot open file: \"x.dat\""); }
};

namespace {

std::vector<std::string> gHookLines;
void RecordLine(const std::string& line)
{
    gHookLines.push_back(line);
}

struct Box
{
    std::string caption, text;
};

class LogTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        LoggerFinalize();
        gHookLines.clear();
        LoggerSetHook(&RecordLine);
        os::testing::SetMessageBoxSink([this](const std::string& caption, const std::string& text) {
            boxes.push_back({caption, text});
        });
    }
    void TearDown() override
    {
        LoggerFinalize();
        LoggerSetHook(nullptr);
        os::testing::SetMessageBoxSink(nullptr);
    }
    std::string OpenLog()
    {
        std::string path = dir.File("game.log");
        LoggerInitialize(path);
        return path;
    }
    std::string CloseAndRead(const std::string& path)
    {
        LoggerFinalize();
        return test::TempDir::Read(path);
    }

    test::TempDir dir;
    std::vector<Box> boxes;
};

TEST_F(LogTest, LinesHaveTheirPrefixesAndReachTheHook)
{
    std::string path = OpenLog();
    LogInfoF("value %d", 7);
    LogErrorF("bad %s", "thing");
    LogRawF("raw %x", 255u);
    LogInfo("ready 100% text");
    LogErrorAt("it broke", "Source.cpp", 42);
    EXPECT_EQ(CloseAndRead(path), "INFO: value 7\n"
                                  "ERROR: bad thing\n"
                                  "raw ff\n"
                                  "INFO: ready 100% text\n"
                                  "ERROR: \n\tit broke\n\tSource.cpp(42)\n");
    ASSERT_EQ(gHookLines.size(), 5u);
    EXPECT_EQ(gHookLines[0], "INFO: value 7\n");
    // A ready text reaches the hook without its line break.
    EXPECT_EQ(gHookLines[3], "INFO: ready 100% text");
}

TEST_F(LogTest, LongLinesStandWholeInTheFileAndCutAtTheHook)
{
    std::string path = OpenLog();
    std::string longText(600, 'x');
    LogInfoF("%s", longText.c_str());
    LogInfo(longText);
    EXPECT_EQ(CloseAndRead(path), "INFO: " + longText + "\n" + "INFO: " + longText + "\n");
    ASSERT_EQ(gHookLines.size(), 2u);
    EXPECT_EQ(gHookLines[0], ("INFO: " + longText).substr(0, 510));
    EXPECT_EQ(gHookLines[1], "INFO: " + longText); // ready texts are not cut
}

TEST_F(LogTest, OnlyTheFirstFileIsOpenedAndOnlyWhileTheLoggerRuns)
{
    const std::string path = dir.Write("game.log", "old contents\n");
    LogInfoF("before");
    LoggerInitialize(path); // recreated on every start
    LoggerInitialize(dir.File("other.log"));
    LogInfoF("during");
    LoggerFinalize();
    LogInfoF("after");
    EXPECT_EQ(test::TempDir::Read(path), "INFO: during\n");
    EXPECT_FALSE(FileExists(dir.File("other.log")));
    EXPECT_EQ(gHookLines, (std::vector<std::string>{"INFO: before\n", "INFO: during\n", "INFO: after\n"}));
}

TEST_F(LogTest, AThrowingHookNeverEscapesTheLogger)
{
    const std::string path = OpenLog();
    LoggerSetHook([](const std::string&) { throw std::bad_alloc(); });
    EXPECT_NO_THROW(LogInfoF("formatted"));
    EXPECT_NO_THROW(LogInfo("ready"));
    EXPECT_NO_THROW(LogEngineException(EReadError(nullptr, "report")));
    EXPECT_EQ(CloseAndRead(path), "INFO: formatted\nINFO: ready\nERROR: Exception occurred.\n  Detail: report\n"
                                  "  Exception: class korvane::EReadError\n  Where: unknown\n");
}

TEST_F(LogTest, AnEmptyNamePutsTheLogBesideTheProgram)
{
    LoggerInitialize("");
    LogInfoF("beside");
    LoggerFinalize();
    std::string path = ReplaceExtension(GetModuleFilePath(), ".log");
    EXPECT_EQ(test::TempDir::Read(path), "INFO: beside\n");
    std::remove(path.c_str());
}

TEST_F(LogTest, SystemErrorsPrintCodeAndMessage)
{
    std::string path = OpenLog();
    os::system::SetLastError(0);
    LogWin32Error("A.cpp", 1);
    os::system::SetLastErrorFromErrno(ENOENT);
    LogWin32Error("B.cpp", 2);
    os::system::SetLastError(0x1234, "");
    LogWin32Error("C.cpp", 3);
    EXPECT_EQ(CloseAndRead(path),
              "ERROR: \n\tWin32Error(0x0): The operation completed successfully.\n\n\tA.cpp(1)\n"
              "ERROR: \n\tWin32Error(0x2): No such file or directory\n\n\tB.cpp(2)\n"
              "ERROR: \n\tWin32Error(0x1234): (no message)\n\tC.cpp(3)\n");
}

TEST_F(LogTest, DateTimeAndVersionLines)
{
    std::string path = OpenLog();
    LogCurrentDateTime();
    LogInfoF("Korvane Core library ver.%s", GetCoreVersionString().c_str());
    std::string text = CloseAndRead(path);
    EXPECT_TRUE(std::regex_search(
        text, std::regex(R"(^INFO: Current date and time: \w{3} \w{3} [ \d]\d \d\d:\d\d:\d\d \d{4}\([^)]*\)\n)")))
        << text;
    EXPECT_TRUE(std::regex_search(
        text, std::regex(R"(INFO: Korvane Core library ver\.1\.10\(0031\) Win32 DBCS Release \(\w{3} [ \d]\d \d{4} \d\d:\d\d:\d\d\) \n$)")))
        << text;
}

TEST_F(LogTest, LinesFromManyThreadsNeverInterleave)
{
    std::string path = OpenLog();
    LoggerSetHook(nullptr); // the recording hook is not meant for several threads
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([t] {
            for (int i = 0; i < 200; ++i)
            {
                if (i % 2)
                    LogRawF("thread %d line %d %s", t, i, std::string(100, 'a' + t).c_str());
                else
                    LogInfoF("thread %d line %d %s", t, i, std::string(100, 'a' + t).c_str());
            }
        });
    for (auto& thread : threads)
        thread.join();
    std::string text = CloseAndRead(path);
    std::regex line(R"((INFO: )?thread (\d) line \d+ ([a-d])\3{99})");
    std::size_t start = 0;
    int count = 0;
    while (start < text.size())
    {
        std::size_t end = text.find('\n', start);
        ASSERT_NE(end, std::string::npos);
        std::string one = text.substr(start, end - start);
        std::smatch match;
        ASSERT_TRUE(std::regex_match(one, match, line)) << one;
        EXPECT_EQ(match[3].str()[0] - 'a', std::stoi(match[2].str()));
        ++count;
        start = end + 1;
    }
    EXPECT_EQ(count, 800);
}

TEST_F(LogTest, EngineExceptionReportsNameSenderAndMessage)
{
    std::string path = OpenLog();
    CReportingObject sender;
    try
    {
        sender.Fail();
    }
    catch (const EException& e)
    {
        EXPECT_EQ(e.GetWhere(), "class korvane::CReportingObject");
        LogEngineException(e);
        ShowEngineException(e, nullptr);
    }
    const std::string report = "ERROR: Exception occurred.\n"
                               "  Detail: Cannot open file: \"x.dat\"\n"
                               "  Exception: class korvane::EFileOpenError\n"
                               "  Where: class korvane::CReportingObject\n";
    EXPECT_EQ(CloseAndRead(path), report + report);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Exception occurred.\n\n[Detail] Cannot open file: \"x.dat\"\n\n"
                             "[Exception] class korvane::EFileOpenError\n[Where] class korvane::CReportingObject");
    EXPECT_EQ(boxes[0].caption, ReplaceExtension(GetFileName(GetModuleFilePath()), ""));
    // The standard library's ABI markers stay out of the names.
    EXPECT_EQ(GetRuntimeClassName(std::ios_base::failure("x")), "class std::ios_base::failure");
}

// A careless standard exception whose what() is null.
struct NullWhat : std::exception
{
    const char* what() const noexcept override { return nullptr; }
};

TEST_F(LogTest, MissingPartsReadUnknown)
{
    std::string path = OpenLog();
    ShowEngineException(EInvalidParameter(nullptr, ""), nullptr);
    ShowStdException(std::length_error("vector too long"), nullptr);
    ShowUnknownException("Unknown Exception", "", "", nullptr);
    ShowStdException(NullWhat(), nullptr);
    EXPECT_EQ(CloseAndRead(path), "ERROR: Exception occurred.\n  Detail: unknown\n"
                                  "  Exception: class korvane::EInvalidParameter\n  Where: unknown\n"
                                  "ERROR: Exception occurred.\n  Detail: vector too long\n"
                                  "  Exception: class std::length_error\n  Where: unknown\n"
                                  "ERROR: Exception occurred.\n  Detail: Unknown Exception\n"
                                  "  Exception: unknown\n  Where: unknown\n"
                                  "ERROR: Exception occurred.\n  Detail: unknown\n"
                                  "  Exception: class korvane::(anonymous namespace)::NullWhat\n  Where: unknown\n");
    ASSERT_EQ(boxes.size(), 4u);
    EXPECT_EQ(boxes[0].text,
              "Exception occurred.\n\n[Detail] unknown\n\n[Exception] class korvane::EInvalidParameter\n[Where] unknown");
    EXPECT_EQ(boxes[2].text, "Exception occurred.\n\n[Detail] Unknown Exception\n\n[Exception] unknown\n[Where] unknown");
}

} // namespace
} // namespace korvane
