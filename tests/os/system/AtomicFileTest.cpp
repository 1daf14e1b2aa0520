/** @file AtomicFileTest.cpp Whole-file replacements: what they keep of the old file and what a failure leaves. */
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <vector>

#include "os/system/AtomicFile.h"
#include "os/system/System.h"
#include "support/TempDir.h"

using korvane::test::TempDir;

namespace os::system
{
namespace
{

/// The folder's entry names, sorted: a temporary file left behind shows here.
std::vector<std::string> Entries(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

unsigned ModeOf(const std::string& path)
{
    struct stat info;
    return ::stat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
}

TEST(AtomicFileTest, AReplacementKeepsTheOldFilesPermissionsAndALinkStaysALink)
{
    struct Case
    {
        const char* name;
        bool link;     ///< "save.dat" is a link to "real.dat"
        unsigned mode; ///< of the old file; 0: none exists
    };
    for (const Case& row : {Case{"new file", false, 0}, Case{"private old file", false, 0600},
                            Case{"old file shared with the group", false, 0640}, Case{"link", true, 0604}}) {
        SCOPED_TRACE(row.name);
        TempDir dir;
        const std::string named = dir.File(row.link ? "real.dat" : "save.dat");
        if (row.mode != 0) {
            dir.Write(row.link ? "real.dat" : "save.dat", "old");
            ASSERT_EQ(::chmod(named.c_str(), row.mode), 0);
        }
        if (row.link)
            std::filesystem::create_symlink(named, dir.File("save.dat"));

        ASSERT_TRUE(WriteFileAtomically(dir.File("save.dat"), "new", 3)) << GetLastErrorText();
        EXPECT_EQ(TempDir::Read(named), "new");
        EXPECT_EQ(std::filesystem::is_symlink(dir.File("save.dat")), row.link);
        if (row.mode != 0) {
            EXPECT_EQ(ModeOf(named), row.mode);
        }
        const std::vector<std::string> left =
            row.link ? std::vector<std::string>{"real.dat", "save.dat"} : std::vector<std::string>{"save.dat"};
        EXPECT_EQ(Entries(dir.Path()), left);
    }
}

TEST(AtomicFileTest, AFailedReplacementLeavesTheTargetAndNoTemporaryFileAndSaysWhy)
{
    struct Case
    {
        const char* name;
        const char* target; ///< in a folder holding "folder/inside.txt"
        int error;
    };
    for (const Case& row : {Case{"folder", "folder", EISDIR}, Case{"folder named with a slash", "folder/", EISDIR},
                            Case{"missing folder", "gone/save.dat", ENOENT}}) {
        SCOPED_TRACE(row.name);
        TempDir dir;
        dir.Write("folder/inside.txt", "x");
        SetLastError(0);
        EXPECT_FALSE(WriteFileAtomically(dir.File(row.target), "new", 3));
        EXPECT_EQ(GetLastErrorCode(), static_cast<std::uint32_t>(row.error));
        EXPECT_EQ(Entries(dir.Path()), std::vector<std::string>{"folder"});
        EXPECT_EQ(Entries(dir.File("folder")), std::vector<std::string>{"inside.txt"});
    }
}

TEST(AtomicFileTest, AWriterShowsNothingBeforeItsCommitAndAnAbandonedOneLeavesNoTrace)
{
    TempDir dir;
    const std::string target = dir.Write("save.dat", "old");
    {
        AtomicFileWriter dropped;
        ASSERT_EQ(dropped.Begin(target), 0);
        ASSERT_EQ(::write(dropped.GetHandle(), "lost", 4), 4);
    }
    EXPECT_EQ(Entries(dir.Path()), std::vector<std::string>{"save.dat"});
    AtomicFileWriter writer;
    ASSERT_EQ(writer.Begin(target), 0);
    ASSERT_EQ(::write(writer.GetHandle(), "new", 3), 3);
    EXPECT_EQ((std::pair{TempDir::Read(target), TempDir::Read(writer.GetPendingPath())}),
              std::pair(std::string("old"), std::string("new")));
    EXPECT_EQ(writer.Commit(), 0);
    EXPECT_EQ((std::pair{TempDir::Read(target), Entries(dir.Path())}),
              std::pair(std::string("new"), std::vector<std::string>{"save.dat"}));
    EXPECT_EQ((std::pair{writer.IsPending(), writer.Commit()}), std::pair(false, EBADF));
}

/// A child process that runs until the object goes away, or one that has already ended and been reaped.
class ChildProcess
{
public:
    explicit ChildProcess(bool running) : pid_(::fork())
    {
        if (pid_ == 0) {
            while (running)
                ::pause();
            std::_Exit(0);
        }
        if (!running)
            Reap();
    }
    ~ChildProcess()
    {
        if (pid_ > 0 && !reaped_) {
            ::kill(pid_, SIGKILL);
            Reap();
        }
    }
    std::string Pid() const { return std::to_string(pid_); }

private:
    void Reap()
    {
        ::waitpid(pid_, nullptr, 0);
        reaped_ = true;
    }
    pid_t pid_;
    bool reaped_ = false;
};

TEST(AtomicFileTest, AReplacementRemovesTheTemporaryFilesOfItsTargetThatEndedProcessesLeftAndNothingElse)
{
    TempDir dir;
    const ChildProcess gone(false);
    const ChildProcess running(true);
    const std::string self = std::to_string(::getpid());
    const std::vector<std::string> stale = {".save.dat." + gone.Pid() + "-0.tmp", ".save.dat." + gone.Pid() + "-17.tmp",
                                            ".save.dat." + self + "-99.tmp"}; // no writer of this process holds it
    std::vector<std::string> kept = {
        ".save.dat." + running.Pid() + "-0.tmp", // a live process's pending save
        ".other.dat." + gone.Pid() + "-0.tmp",   // another target's
        ".save.dat." + gone.Pid() + "-0.tmp.bak",
        "save.dat." + gone.Pid() + "-0.tmp",
        ".save.dat." + gone.Pid() + ".tmp",
        ".save.dat.0-0.tmp",
        ".save.dat.0" + gone.Pid() + "-0.tmp", // the writer writes no leading zero
        ".save.dat." + gone.Pid() + "-00.tmp",
        ".save.dat." + gone.Pid() + "-4294967296.tmp", // past the writer's counter
        "save.dat",
    };
    for (const std::string& name : stale)
        dir.Write(name, "torn");
    for (const std::string& name : kept)
        dir.Write(name, "kept");

    ASSERT_TRUE(WriteFileAtomically(dir.File("save.dat"), "new", 3)) << GetLastErrorText();
    std::sort(kept.begin(), kept.end());
    EXPECT_EQ(Entries(dir.Path()), kept);
}

TEST(AtomicFileTest, APendingFileItsWriterStillHoldsStaysWhateverProcessItsNameGives)
{
    // A writer of another process-id namespace (a sandboxed copy of the program sharing the folder)
    // names its file with an id that this process cannot find: the name alone must not doom it.
    TempDir dir;
    const ChildProcess gone(false);
    const std::string held = dir.File(".save.dat." + gone.Pid() + "-3.tmp");
    AtomicFileWriter other;
    ASSERT_EQ(other.Begin(dir.File("save.dat")), 0);
    ASSERT_EQ(::rename(other.GetPendingPath().c_str(), held.c_str()), 0);

    ASSERT_TRUE(WriteFileAtomically(dir.File("save.dat"), "new", 3)) << GetLastErrorText();
    EXPECT_TRUE(std::filesystem::exists(held)) << "a held pending file was removed";
    // Once its writer has let it go, it is a torn file like any other.
    other.Abandon();
    ASSERT_TRUE(WriteFileAtomically(dir.File("save.dat"), "new", 3)) << GetLastErrorText();
    EXPECT_EQ(Entries(dir.Path()), std::vector<std::string>{"save.dat"});
}

/// A child process that holds a lock on the file at `path`, as a pending writer does, until the object goes away.
class LockHolder
{
public:
    explicit LockHolder(const std::string& path)
    {
        int ready[2];
        if (::pipe(ready) != 0)
            return;
        pid_ = ::fork();
        if (pid_ == 0) {
            // It ends with the test, however the test ends.
            ::prctl(PR_SET_PDEATHSIG, SIGKILL);
            const int fd = ::open(path.c_str(), O_RDWR);
            const char locked = fd >= 0 && ::flock(fd, LOCK_EX) == 0 ? 1 : 0;
            (void)::write(ready[1], &locked, 1);
            while (true)
                ::pause();
        }
        char locked = 0;
        held_ = pid_ > 0 && ::read(ready[0], &locked, 1) == 1 && locked == 1;
        ::close(ready[0]);
        ::close(ready[1]);
    }
    ~LockHolder()
    {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
    }
    bool Held() const { return held_; }

private:
    pid_t pid_ = -1;
    bool held_ = false;
};

TEST(AtomicFileTest, LeftoversNamedWithThisProcessIdGoUnlessAWriterHoldsThem)
{
    // In a process-id namespace the program has the same id at every start: its killed saves' files carry
    // its own id. Sixteen of them are every name a Begin tries, when nothing takes them away.
    enum class Holder
    {
        None,
        PendingWriterHere,
        OtherProcess
    };
    struct Case
    {
        const char* name;
        Holder holder;
    };
    for (const Case& row : {Case{"sixteen killed saves", Holder::None},
                            Case{"a pending writer of this process", Holder::PendingWriterHere},
                            Case{"a file another process holds", Holder::OtherProcess}}) {
        SCOPED_TRACE(row.name);
        TempDir dir;
        const std::string target = dir.File("save.dat");
        // The name the next Begin takes first tells where this process's counter stands.
        AtomicFileWriter probe;
        ASSERT_EQ(probe.Begin(target), 0);
        const std::string first = probe.GetPendingPath();
        probe.Abandon();
        const std::string stem = first.substr(0, first.rfind('-') + 1);
        const unsigned next = static_cast<unsigned>(std::stoul(first.substr(stem.size()))) + 1;
        std::vector<std::string> leftovers;
        for (unsigned n = next; n < next + 16; ++n)
            leftovers.push_back(dir.Write(stem.substr(dir.Path().size()) + std::to_string(n) + ".tmp", "torn"));

        AtomicFileWriter pending;
        std::unique_ptr<LockHolder> other;
        std::string held;
        if (row.holder == Holder::PendingWriterHere) {
            ASSERT_EQ(pending.Begin(target), 0);
            held = pending.GetPendingPath();
        } else if (row.holder == Holder::OtherProcess) {
            held = leftovers.front();
            other = std::make_unique<LockHolder>(held);
            ASSERT_TRUE(other->Held());
        }

        ASSERT_TRUE(WriteFileAtomically(target, "new", 3)) << GetLastErrorText();
        EXPECT_EQ(TempDir::Read(target), "new");
        for (const std::string& path : leftovers)
            EXPECT_EQ(std::filesystem::exists(path), path == held) << path;
        if (row.holder == Holder::PendingWriterHere) {
            EXPECT_TRUE(std::filesystem::exists(held)) << "a pending writer's file was removed";
            ASSERT_EQ(pending.Write("mine", 4), 0);
            EXPECT_EQ(pending.Commit(), 0);
            EXPECT_EQ(TempDir::Read(target), "mine");
        }
    }
}

} // namespace
} // namespace os::system
