/** @file StoreFiles.cpp The service's file formats and file handling. */
#include "os/store/StoreFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <set>
#include <stdexcept>

#include "os/store/ByteReader.h"
#include "os/store/ByteWriter.h"
#include "os/system/RegularFile.h"
#include "os/system/System.h"

namespace os::store
{

const char* const kUserFileName = "store_user.dat";
const char* const kAchievementsFileName = "store_achievements.dat";

namespace
{

constexpr char kUserMagic[4] = {'K', 'S', 'U', 'S'};
constexpr char kAchievementMagic[4] = {'K', 'S', 'A', 'C'};
constexpr std::uint32_t kVersion = 1;
constexpr std::size_t kMaxUserName = 255;
constexpr std::size_t kMaxLanguage = 32;
constexpr std::uint32_t kMaxAchievements = 4096;
constexpr std::size_t kMaxFileNameLength = 200;

} // namespace

std::string BoardFileName(const std::string& board)
{
    static const char* const hex = "0123456789ABCDEF";
    std::string name = "store_board_";
    for (unsigned char c : board) {
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' || c == '-')
            name += static_cast<char>(c);
        else {
            name += '%';
            name += hex[c >> 4];
            name += hex[c & 15];
        }
    }
    name += ".dat";
    if (board.empty() || name.size() > kMaxFileNameLength)
        return std::string();
    return name;
}

FileRead ReadWholeFile(const std::string& path, std::size_t maxBytes, std::string& bytes)
{
    bytes.clear();
    std::string why;
    const int fd = os::system::OpenRegularFile(path, O_RDONLY, why);
    if (fd < 0) {
        const int error = errno;
        os::system::SetLastError(static_cast<std::uint32_t>(error), why + "\n");
        return error == ENOENT ? FileRead::Missing : FileRead::Failed;
    }
    struct stat info;
    if (::fstat(fd, &info) != 0) {
        os::system::SetLastErrorFromErrno(errno);
        ::close(fd);
        return FileRead::Failed;
    }
    if (static_cast<std::uint64_t>(info.st_size) > maxBytes) {
        ::close(fd);
        return FileRead::TooLarge;
    }
    bytes.resize(static_cast<std::size_t>(info.st_size));
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t got = ::read(fd, bytes.data() + done, bytes.size() - done);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            os::system::SetLastErrorFromErrno(errno);
            ::close(fd);
            return FileRead::Failed;
        }
        if (got == 0)
            break; // shrank while reading: what is there is judged by the decoder
        done += static_cast<std::size_t>(got);
    }
    bytes.resize(done);
    ::close(fd);
    return FileRead::Ok;
}

std::string SetFileAside(const std::string& path)
{
    std::string aside = os::system::SetFileAside(path);
    if (aside.empty())
        os::system::SetLastErrorFromErrno(errno);
    return aside;
}

std::string EncodeUser(const UserRecord& user)
{
    ByteWriter out;
    out.Raw(kUserMagic, sizeof(kUserMagic));
    out.U32(kVersion);
    out.U64(user.id);
    out.String(CutUtf8(user.name, kMaxUserName));
    out.String(CutUtf8(user.language, kMaxLanguage));
    return out.Bytes();
}

UserRecord DecodeUser(const std::string& bytes)
{
    ByteReader in(bytes);
    in.Expect(kUserMagic, sizeof(kUserMagic));
    if (in.ReadU32() != kVersion)
        throw std::runtime_error("unknown version");
    UserRecord user;
    user.id = in.ReadU64();
    if (user.id == 0)
        throw std::runtime_error("user id 0");
    user.name = in.ReadString(kMaxUserName);
    user.language = in.ReadString(kMaxLanguage);
    in.ExpectEnd();
    return user;
}

std::string EncodeAchievements(const std::vector<AchievementRecord>& achievements)
{
    ByteWriter out;
    out.Raw(kAchievementMagic, sizeof(kAchievementMagic));
    out.U32(kVersion);
    out.U32(static_cast<std::uint32_t>(achievements.size()));
    for (const AchievementRecord& record : achievements) {
        out.String(record.id);
        out.U64(record.unlockTime);
    }
    return out.Bytes();
}

std::vector<AchievementRecord> DecodeAchievements(const std::string& bytes)
{
    ByteReader in(bytes);
    in.Expect(kAchievementMagic, sizeof(kAchievementMagic));
    if (in.ReadU32() != kVersion)
        throw std::runtime_error("unknown version");
    const std::uint32_t count = in.ReadCount(kMaxAchievements, 4 + 1 + 8);
    std::vector<AchievementRecord> records;
    records.reserve(count);
    std::set<std::string> seen;
    for (std::uint32_t i = 0; i < count; ++i) {
        AchievementRecord record;
        record.id = in.ReadString(127);
        if (!IsValidAchievementId(record.id))
            throw std::runtime_error("malformed achievement identifier");
        if (!seen.insert(record.id).second)
            throw std::runtime_error("achievement '" + record.id + "' listed twice");
        record.unlockTime = in.ReadU64();
        records.push_back(std::move(record));
    }
    in.ExpectEnd();
    return records;
}

bool IsValidAchievementId(const std::string& id)
{
    if (id.empty() || id.size() > 127)
        return false;
    for (char c : id)
        if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_'))
            return false;
    return true;
}

std::string CutUtf8(const std::string& text, std::size_t maxBytes)
{
    if (text.size() <= maxBytes)
        return text;
    std::size_t end = maxBytes;
    // Step back over continuation bytes to the start of the character that does not fit.
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
        --end;
    return text.substr(0, end);
}

} // namespace os::store
