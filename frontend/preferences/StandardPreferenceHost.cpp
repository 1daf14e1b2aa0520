/** @file StandardPreferenceHost.cpp A preference host that keeps the values itself. */
#include "frontend/preferences/StandardPreferenceHost.h"

CStandardPreferenceHost::CStandardPreferenceHost(korvane::CDXInput* input,
                                                 korvane::CGraphicsModePreference& displaySettings,
                                                 const std::string& displaySettingPath, const std::string& saveFolder)
    : input_(input), displaySettings_(displaySettings), displaySettingPath_(displaySettingPath), saveFolder_(saveFolder)
{}

CStandardPreferenceHost::~CStandardPreferenceHost() = default;
