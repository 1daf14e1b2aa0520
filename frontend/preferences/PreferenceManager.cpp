/** @file PreferenceManager.cpp Volumes, music version and key mappings in "preference.dat", and the
 * default key mappings. */
#include "frontend/preferences/PreferenceManager.h"

#include <algorithm>
#include <cerrno>
#include <exception>

#include <boost/shared_ptr.hpp>

#include "KorvaneXDK/core/CriticalSection.h"
#include "KorvaneXDK/core/Exception.h"
#include "KorvaneXDK/core/ExceptionReport.h"
#include "KorvaneXDK/core/FileStream.h"
#include "KorvaneXDK/core/Log.h"
#include "KorvaneXDK/core/MemoryStream.h"
#include "KorvaneXDK/core/RIFFReader.h"
#include "KorvaneXDK/core/RIFFWriter.h"
#include "KorvaneXDK/core/ScopedLock.h"
#include "KorvaneXDK/core/StringUtility.h"
#include "KorvaneXDK/core/TypeName.h"
#include "KorvaneXDK/platform/GameApplicationDriverDX9.h"
#include "KorvaneXDK/platform/graphics/GraphicsModePreference.h"
#include "KorvaneXDK/platform/input/DXInput.h"
#include "frontend/preferences/DefaultKeyMappings.h"
#include "frontend/preferences/KeyMappingActions.h"
#include "frontend/preferences/PreferenceChunk.h"
#include "frontend/preferences/PreferenceHost.h"
#include "os/system/RegularFile.h"
#include "os/system/System.h"

using namespace korvane;

namespace
{

constexpr const char* kSourceFile = "PreferenceManager";
constexpr const char* kFileName = "preference.dat";

constexpr std::uint32_t kFormType = MakeFourCC("QVPF");
constexpr std::uint32_t kHeadChunk = MakeFourCC("head");
constexpr std::uint32_t kVolumeChunk = MakeFourCC("vol ");
constexpr std::uint32_t kMusicVersionChunk = MakeFourCC("mver");
constexpr std::uint32_t kKeyMappingChunk = MakeFourCC("keym");

constexpr const char* kSignature = "QVR2WinPreference";
constexpr const char* kVersionLabel = "Version";
constexpr const char* kVersion = "1.0";
constexpr const char* kBuildLabel = "Build";
constexpr std::uint32_t kBuild = 0;
constexpr const char* kVolumeLabel = "Volume";
constexpr const char* kMusicVersionLabel = "MusicVersion";
constexpr const char* kKeyMappingLabel = "KeyMapping";
constexpr const char* kCountLabel = "Count";
constexpr const char* kRecordLabel = "MappingData";

constexpr std::int32_t kSilentVolume = -10000;
constexpr std::int32_t kFullVolume = 0;
constexpr int kRotationCount = 4;
constexpr int kAspectRatioCount = 5;

// The largest file taken: one written here holds four records of eleven pairs, under 1 KiB; the
// rest leaves room for records carried over for device types that are not connected.
constexpr std::int32_t kMaximumFileSize = 16 * 1024;

// The least a record takes: its label "MappingData" with its length, the type and the pair count.
constexpr std::int64_t kMinimumRecordSize = 4 + 11 + 4 + 4;
// The least a pair takes: an empty name's length and the code.
constexpr std::int64_t kMinimumPairSize = 4 + 4;

/// The report of an exception from outside the engine, in the engine report's four lines.
void LogStdException(const std::exception& error)
{
    CScopedLock lock(GetLogLock());
    LogRawF("ERROR: Exception occurred.");
    LogRawF("  Detail: %s", error.what());
    LogRawF("  Exception: %s", GetRuntimeClassName(error).c_str());
    LogRawF("  Where: unknown");
}

/// Hands the player's message for a file that could not be saved on to the program's end, which
/// shows it. The reason is the system's when a file call failed (each sets the thread's last
/// error, cleared before the save began), else the exception's own message. Called first in a
/// handler, before logging could touch the last error; it throws nothing, as the handlers may not.
void ReportSaveFailure(const char* what, const std::string& path, const std::string& otherwise) noexcept
{
    try {
        std::string reason = os::system::GetLastErrorCode() != 0 ? os::system::GetLastErrorText() : otherwise;
        while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r'))
            reason.pop_back();
        ReportShutdownFailure(std::string(what) + " could not be saved in \"" + path + "\" (" + reason + ").");
    } catch (...) {
        // The log has the failure; only the player's copy of it is lost.
    }
}

void LogUnknownException()
{
    CScopedLock lock(GetLogLock());
    LogRawF("ERROR: Exception occurred.");
    LogRawF("  Detail: unknown");
    LogRawF("  Exception: unknown");
    LogRawF("  Where: unknown");
}

/// Every controller of the list with its index, as the list holds them now.
template <class Visit>
void ForEachController(CDXInput* input, Visit&& visit)
{
    if (input == nullptr)
        return;
    const int count = input->GetControllerCount();
    for (int index = 0; index < count; ++index) {
        const boost::shared_ptr<IController> controller = input->GetController(index);
        if (controller)
            visit(index, *controller);
    }
}

} // namespace

CPreferenceManager::CPreferenceManager(IPreferenceHost& host) : host_(host) {}

CPreferenceManager::~CPreferenceManager() = default;

std::string CPreferenceManager::GetPreferenceFilePath() const
{
    return host_.GetSaveFolder() + kFileName;
}

// ---- Default key mappings ------------------------------------------------------------------------

void CPreferenceManager::SetDefaultMapping(const DefaultKeyMapping& mapping)
{
    ForEachController(host_.GetInput(), [&](int index, IController& controller) {
        if (controller.GetDeviceType() != mapping.controllerType)
            return;
        // Appended, not "#" + text: g++ 12 at -O3 takes that for an overlapping copy and warns.
        LogInfo(std::string("#").append(IntToString(index)).append(mapping.deviceText));
        for (const DefaultBinding& binding : mapping.bindings)
            controller.SetMapping(binding.action, binding.binding, binding.code);
    });
}

void CPreferenceManager::SetDefaultKeyboardMapping()
{
    SetDefaultMapping(GetDefaultKeyboardMapping());
}

void CPreferenceManager::SetDefaultDirectInputJoystickMapping()
{
    SetDefaultMapping(GetDefaultDirectInputJoystickMapping());
}

void CPreferenceManager::SetDefaultXInputMapping()
{
    SetDefaultMapping(GetDefaultXInputMapping());
}

void CPreferenceManager::ResetAllKeyMappings()
{
    storedMappings_.clear();
    SetDefaultKeyboardMapping();
    SetDefaultDirectInputJoystickMapping();
    SetDefaultXInputMapping();
    host_.SetMusicVersion(1);
}

void CPreferenceManager::ResetKeyboardMapping()
{
    SetDefaultKeyboardMapping();
}

void CPreferenceManager::ResetDirectInputJoystickMapping()
{
    SetDefaultDirectInputJoystickMapping();
}

void CPreferenceManager::ResetXInputMapping()
{
    SetDefaultXInputMapping();
}

// ---- Writing -------------------------------------------------------------------------------------

void CPreferenceManager::Save()
{
    // Nothing may leave here: the resource scene saves while the driver is being destroyed.
    std::string path;
    os::system::SetLastError(0);
    try {
        path = GetPreferenceFilePath();
        CRIFFWriter writer;
        writer.SetByteOrder(0);
        writer.SetFormType(kFormType);
        saveHeader(writer);
        saveMainPreference(writer);
        saveKeyMapping(writer);

        LogInfo("Saving preference data...");
        if (fileDamaged_) {
            // Kept beside the new file, as the store keeps its damaged files; a file gone since is not.
            const std::string aside = os::system::SetFileAside(path);
            const int error = aside.empty() ? errno : 0;
            if (error != 0 && error != ENOENT)
                throw EWriteError(this, "Save: the damaged file could not be set aside (" +
                                            os::system::ErrnoText(error) + ")");
            if (!aside.empty())
                LogInfo("Damaged preference data kept as '" + aside + "'.");
            fileDamaged_ = false;
        }
        // The file stream writes a temporary file and renames it over the old one on Close; a
        // failure on the way removes the temporary file and leaves the old one as it was.
        CFileStream file(path, 0, 0);
        writer.WriteTo(file);
        file.Close();
        LogInfo("OK.");
    } catch (const EException& error) {
        ReportSaveFailure("Your settings", path, error.GetMessage());
        LogErrorAt("Can't save preference data.", kSourceFile, __LINE__);
        LogEngineException(error);
    } catch (const std::exception& error) {
        ReportSaveFailure("Your settings", path, error.what());
        LogErrorAt("Can't save preference data.", kSourceFile, __LINE__);
        LogStdException(error);
    } catch (...) {
        ReportSaveFailure("Your settings", path, "unknown error");
        LogErrorAt("Can't save preference data.", kSourceFile, __LINE__);
        LogUnknownException();
    }
    SaveDisplayKeys();
}

void CPreferenceManager::SaveDisplayKeys()
{
    std::string path;
    os::system::SetLastError(0);
    try {
        LogInfo("Saving display configuration...");
        CGraphicsModePreference& settings = host_.GetGraphicsModePreference();
        settings.SetValue("ScreenRotation", IntToString(host_.GetScreenRotation()));
        settings.SetValue("ScreenAspectRatio", IntToString(host_.GetAspectRatio()));
        path = host_.GetDisplaySettingPath();
        settings.Save(path);
        LogInfo("OK.");
    } catch (const EException& error) {
        ReportSaveFailure("Your screen settings", path, error.GetMessage());
        LogErrorAt("Can't save display configuration.", kSourceFile, __LINE__);
        LogEngineException(error);
    } catch (const std::exception& error) {
        ReportSaveFailure("Your screen settings", path, error.what());
        LogErrorAt("Can't save display configuration.", kSourceFile, __LINE__);
        LogStdException(error);
    } catch (...) {
        ReportSaveFailure("Your screen settings", path, "unknown error");
        LogErrorAt("Can't save display configuration.", kSourceFile, __LINE__);
        LogUnknownException();
    }
}

void CPreferenceManager::saveHeader(CRIFFWriter& writer)
{
    CMemoryStream data;
    data.WriteString(kSignature);
    data.WriteString(kVersionLabel);
    data.WriteString(kVersion);
    data.WriteString(kBuildLabel);
    data.WriteUInt32(kBuild);
    writer.AddChunk(kHeadChunk, data);
}

void CPreferenceManager::saveMainPreference(CRIFFWriter& writer)
{
    CMemoryStream volume;
    volume.WriteString(kVolumeLabel);
    volume.WriteInt32(host_.GetMusicVolume());
    volume.WriteInt32(host_.GetEffectVolume());
    writer.AddChunk(kVolumeChunk, volume);

    CMemoryStream version;
    version.WriteString(kMusicVersionLabel);
    version.WriteUInt8(host_.GetMusicVersion());
    writer.AddChunk(kMusicVersionChunk, version);
}

void CPreferenceManager::saveKeyMapping(CRIFFWriter& writer)
{
    // The last controller of a type speaks for the type: all controllers of one type share a mapping.
    std::map<std::int32_t, IController*> connected;
    ForEachController(host_.GetInput(),
                      [&](int, IController& controller) { connected[controller.GetDeviceType()] = &controller; });

    CMemoryStream records;
    std::uint32_t recordCount = 0;
    for (const auto& [type, controller] : connected) {
        records.WriteString(kRecordLabel);
        records.WriteUInt32(static_cast<std::uint32_t>(type));
        records.WriteUInt32(static_cast<std::uint32_t>(kKeyMappingActions.size()));
        for (const char* action : kKeyMappingActions) {
            records.WriteString(action);
            records.WriteInt32(static_cast<std::int32_t>(controller->GetMapping(action, 0)));
        }
        ++recordCount;
    }
    // Types with no controller now keep what was read for them, pair for pair.
    for (const auto& [type, pairs] : storedMappings_) {
        if (connected.count(type) != 0)
            continue;
        records.WriteString(kRecordLabel);
        records.WriteUInt32(static_cast<std::uint32_t>(type));
        records.WriteUInt32(static_cast<std::uint32_t>(pairs.size()));
        for (const KeyMappingPair& pair : pairs) {
            records.WriteString(pair.first);
            records.WriteInt32(pair.second);
        }
        ++recordCount;
    }

    CMemoryStream data;
    data.WriteString(kKeyMappingLabel);
    data.WriteString(kCountLabel);
    data.WriteUInt32(recordCount);
    if (records.GetSize() > 0 && data.CopyFrom(records, 0) != records.GetSize())
        throw EWriteError(this, "saveKeyMapping: out of memory");
    writer.AddChunk(kKeyMappingChunk, data);
}

// ---- Reading -------------------------------------------------------------------------------------

void CPreferenceManager::Load()
{
    bool loaded = false;
    fileDamaged_ = false;
    try {
        LogInfo("Loading preference data...");
        CMemoryStream image;
        {
            CFileStream file(GetPreferenceFilePath(), 1, 1);
            const std::int32_t size = file.GetSize();
            // No file written here comes near this: refused before anything is allocated for it.
            if (size > kMaximumFileSize)
                throw EInvalidFileFormat(this, "Load: file too large");
            image.SetSize(size);
            if (image.GetSize() != size)
                throw EReadError(this, "Load: out of memory");
            image.SetSize(file.Read(image.GetBuffer(), size));
            file.Close();
        }
        CRIFFReader reader;
        reader.Open(&image);

        loadHeader(reader);
        loadMainPreference(reader);
        loadKeyMapping(reader);
        loaded = true;
    } catch (const EFileOpenError& error) {
        LogEngineException(error);
        LogInfo("Can't open a configuration file. Default settings used.");
    } catch (const EException& error) {
        LogEngineException(error);
        LogErrorAt("Configuration file is corrupt. Default settings used.", kSourceFile, __LINE__);
        fileDamaged_ = true;
    } catch (const std::exception& error) {
        LogStdException(error);
        LogErrorAt("Configuration file is corrupt. Default settings used.", kSourceFile, __LINE__);
    } catch (...) {
        LogUnknownException();
        LogErrorAt("Configuration file is corrupt. Default settings used.", kSourceFile, __LINE__);
    }
    // The display keys live in their own file: a bad "preference.dat" must not reset them at exit.
    LoadDisplayKeys();
    if (loaded)
        LogInfo("OK.");
}

void CPreferenceManager::LoadDisplayKeys()
{
    try {
        CGraphicsModePreference& settings = host_.GetGraphicsModePreference();
        // Values outside the window scene's tables would index past them.
        const int rotation = StringToInt(settings.GetValue("ScreenRotation", "0"));
        const int aspect = StringToInt(settings.GetValue("ScreenAspectRatio", "0"));
        host_.SetScreenRotation(rotation >= 0 && rotation < kRotationCount ? rotation : 0);
        host_.SetAspectRatio(aspect >= 0 && aspect < kAspectRatioCount ? aspect : 0);
    } catch (const EException& error) {
        LogEngineException(error);
    } catch (const std::exception& error) {
        LogStdException(error);
    }
}

void CPreferenceManager::loadHeader(CRIFFReader& reader)
{
    CPreferenceChunk chunk(reader, kHeadChunk, this, "loadHeader");
    const std::string signature = chunk.ReadString();
    const std::string versionLabel = chunk.ReadString();
    const std::string version = chunk.ReadString();
    const std::string buildLabel = chunk.ReadString();
    const std::uint32_t build = chunk.ReadUInt32();
    if (signature != kSignature || versionLabel != kVersionLabel || buildLabel != kBuildLabel)
        throw EInvalidFileFormat(this, "loadHeader: header data incorrect.");
    LogInfo("  Ver." + version);
    LogInfo(FormatString("  Build:%u", build));
}

void CPreferenceManager::loadMainPreference(CRIFFReader& reader)
{
    try {
        LoadVolume(reader);
    } catch (const EReadError& error) {
        LogEngineException(error);
        LogErrorAt("Failed to load volume settings. Default settings used.", kSourceFile, __LINE__);
    }
    try {
        LoadMusicVersion(reader);
    } catch (const EReadError& error) {
        LogEngineException(error);
        LogErrorAt("Failed to music version settings. Default settings used.", kSourceFile, __LINE__);
    }
}

void CPreferenceManager::LoadVolume(CRIFFReader& reader)
{
    CPreferenceChunk chunk(reader, kVolumeChunk, this, "loadMainPreference");
    if (chunk.ReadString() != kVolumeLabel)
        throw EReadError(this, "loadMainPreference: error");
    const std::int32_t music = chunk.ReadInt32();
    const std::int32_t effect = chunk.ReadInt32();
    // The sounds' volume curve has no meaning outside silent..full.
    host_.SetMusicVolume(std::clamp(music, kSilentVolume, kFullVolume));
    host_.SetEffectVolume(std::clamp(effect, kSilentVolume, kFullVolume));
}

void CPreferenceManager::LoadMusicVersion(CRIFFReader& reader)
{
    CPreferenceChunk chunk(reader, kMusicVersionChunk, this, "loadMainPreference");
    if (chunk.ReadString() != kMusicVersionLabel)
        throw EReadError(this, "loadMainPreference: error");
    host_.SetMusicVersion(chunk.ReadUInt8());
}

void CPreferenceManager::loadKeyMapping(CRIFFReader& reader)
{
    CPreferenceChunk chunk(reader, kKeyMappingChunk, this, "loadKeyMapping");
    const std::string label = chunk.ReadString();
    const std::string countLabel = chunk.ReadString();
    if (label != kKeyMappingLabel || countLabel != kCountLabel)
        throw EInvalidFileFormat(this, "CPreferenceManager::loadKeyMapping: load error");
    const std::int32_t recordCount = chunk.ReadInt32();
    storedMappings_.clear();

    // Each record is applied and stored before the next is read, so a bad record leaves the
    // earlier ones in force. Every record takes bytes, so the loop ends with the chunk's data.
    for (std::int32_t record = 0; record < recordCount; ++record) {
        chunk.RequireRoom(1, kMinimumRecordSize, "record");
        if (chunk.ReadString() != kRecordLabel)
            throw EInvalidFileFormat(this, "CPreferenceManager::loadKeyMapping: load error");
        const std::int32_t type = chunk.ReadInt32();
        const std::int32_t pairCount = chunk.ReadInt32();
        chunk.RequireRoom(pairCount, kMinimumPairSize, "pair count");

        StoredKeyMapping pairs;
        for (std::int32_t index = 0; index < pairCount; ++index) {
            std::string action = chunk.ReadString();
            const std::int32_t code = chunk.ReadInt32();
            pairs.emplace_back(std::move(action), code);
        }

        ForEachController(host_.GetInput(), [&](int, IController& controller) {
            if (controller.GetDeviceType() != type)
                return;
            for (const KeyMappingPair& pair : pairs)
                controller.SetMapping(pair.first, 0, static_cast<std::uint32_t>(pair.second));
        });
        storedMappings_[type] = std::move(pairs);
    }
}
