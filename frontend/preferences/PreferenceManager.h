/** @file PreferenceManager.h Volumes, music version and key mappings in "preference.dat", and the
 * default key mappings. */
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "KorvaneXDK/core/Object.h"
#include "frontend/preferences/StoredKeyMapping.h"

namespace korvane
{
class CRIFFReader;
class CRIFFWriter;
} // namespace korvane

class IPreferenceHost;
struct DefaultKeyMapping;

/// Keeps the key mapping of every controller type across runs and puts the default bindings into
/// the controllers. Save and Load also carry the volumes and the music version ("preference.dat")
/// and the screen rotation and aspect ratio (the display settings), which the host owns.
///
/// A mapping read for a controller type that is not connected is kept and written back unchanged,
/// so a pad unplugged for one run gets its mapping back on the next. Neither Save nor Load throws:
/// a damaged or missing file is logged and the values in force stay.
class CPreferenceManager : public virtual korvane::CNonCopyable
{
public:
    using StoredKeyMappings = std::map<std::int32_t, StoredKeyMapping>;

    explicit CPreferenceManager(IPreferenceHost& host);
    ~CPreferenceManager() override;

    /// Writes "preference.dat" whole (through a temporary file), then the display settings. A file
    /// that Load found damaged is first set aside as "preference.dat.corrupt" (or ".corrupt<n>"); when
    /// that fails it is not written over.
    virtual void Save();
    /// Reads "preference.dat", applying what it holds as it goes, then the display keys.
    virtual void Load();
    /// Forgets the stored mappings, sets the defaults of all three types and music version 1.
    virtual void ResetAllKeyMappings();
    virtual void ResetKeyboardMapping();
    virtual void ResetDirectInputJoystickMapping();
    virtual void ResetXInputMapping();

    /// Each sets the defaults on every controller of its type and logs "#<index>: <device>".
    void SetDefaultKeyboardMapping();
    void SetDefaultDirectInputJoystickMapping();
    void SetDefaultXInputMapping();

    const StoredKeyMappings& GetStoredKeyMappings() const { return storedMappings_; }
    /// The save folder followed by "preference.dat".
    std::string GetPreferenceFilePath() const;

protected:
    void saveHeader(korvane::CRIFFWriter& writer);
    void saveMainPreference(korvane::CRIFFWriter& writer);
    void saveKeyMapping(korvane::CRIFFWriter& writer);
    void loadHeader(korvane::CRIFFReader& reader);
    void loadMainPreference(korvane::CRIFFReader& reader);
    void loadKeyMapping(korvane::CRIFFReader& reader);

private:
    void SetDefaultMapping(const DefaultKeyMapping& mapping);
    void LoadVolume(korvane::CRIFFReader& reader);
    void LoadMusicVersion(korvane::CRIFFReader& reader);
    void LoadDisplayKeys();
    void SaveDisplayKeys();

    IPreferenceHost& host_;
    StoredKeyMappings storedMappings_;
    bool fileDamaged_ = false; ///< the last Load found "preference.dat" damaged
};
