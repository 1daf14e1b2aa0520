/** @file SteamAchievements.cpp Statistics arrival, store results and the unlock call. */
#include "frontend/steam/SteamAchievements.h"

#include <cstdio>
#include <cstring>
#include <stdexcept>

#include "os/store/Store.h"
#include "os/store/User.h"
#include "os/store/UserStats.h"
#include "os/store/Utils.h"

std::atomic<CSteamAchievements*> gSteamAchievements{nullptr};

namespace
{

const char* const kIdentifiers[CSteamAchievements::kCount] = {
    "ACHIEVEMENT_QVR2AREA20CLEAR",
    "ACHIEVEMENT_QVR2AREA26CLEAR",
    "ACHIEVEMENT_QVR2EASYALL",
    "ACHIEVEMENT_QVR2NORMALALL",
    "ACHIEVEMENT_QVR2X50",
    "ACHIEVEMENT_QVR2OPTIONLEVEL25",
    "ACHIEVEMENT_QVR2OPTIONLEVEL50",
    "ACHIEVEMENT_QVR2SPECIALALL",
    "ACHIEVEMENT_QVR2STAGE6ATTAINMENT",
    "ACHIEVEMENT_QVR2GOLDNORMALALL",
    "ACHIEVEMENT_TVTRIALALL",
    "ACHIEVEMENT_TVNORMALALL",
    "ACHIEVEMENT_TVNORMALRANKA",
    "ACHIEVEMENT_TVSTAGE3ALLDISCOVER",
    "ACHIEVEMENT_TVSURVIVOR",
    "ACHIEVEMENT_TVNORMALRANKS",
    "ACHIEVEMENT_TVMARATHONALLSTAGEPLAY",
    "ACHIEVEMENT_TVMARATHONLV50",
    "ACHIEVEMENT_TVLASTBOSSLOOKED",
};

/// Copies text into a field, cut at the last whole UTF-8 character that fits, terminated.
void CopyCut(char* field, std::size_t size, const char* text)
{
    std::size_t length = text ? std::strlen(text) : 0;
    if (length >= size) {
        length = size - 1;
        while (length > 0 && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80)
            --length;
    }
    if (length > 0)
        std::memcpy(field, text, length);
    field[length] = '\0';
}

} // namespace

const char* CSteamAchievements::GetIdentifier(std::int32_t id)
{
    if (id < kFirstId || id >= kFirstId + kCount)
        return nullptr;
    return kIdentifiers[id - kFirstId];
}

const SteamAchievement& CSteamAchievements::GetAchievement(std::int32_t index) const
{
    if (index < 0 || index >= kCount)
        throw std::out_of_range("achievement index out of range");
    return achievements_[index];
}

CSteamAchievements::CSteamAchievements()
{
    for (std::int32_t i = 0; i < kCount; ++i) {
        SteamAchievement& entry = achievements_[i];
        entry.id = kFirstId + i;
        entry.identifier = kIdentifiers[i];
        CopyCut(entry.name, sizeof(entry.name), kIdentifiers[i]);
        entry.desc[0] = '\0';
        entry.achieved = false;
        entry.icon = 0;
    }
    statsReceived_.Register(this, &CSteamAchievements::OnUserStatsReceived);
    statsStored_.Register(this, &CSteamAchievements::OnUserStatsStored);
    achievementStored_.Register(this, &CSteamAchievements::OnAchievementStored);
    os::store::Utils* utils = os::store::GetUtils();
    gameId_ = utils ? utils->GetAppId() : 0;
    count_ = kCount;
    os::store::UserStats* stats = os::store::GetUserStats();
    os::store::User* user = os::store::GetUser();
    if (stats && user && user->IsLoggedOn())
        stats->RequestCurrentStats();
}

CSteamAchievements::~CSteamAchievements()
{
    statsReceived_.Unregister();
    statsStored_.Unregister();
    achievementStored_.Unregister();
}

void CSteamAchievements::OnUserStatsReceived(const os::store::UserStatsReceived* result)
{
    if (!result || result->gameId != gameId_)
        return;
    if (result->result != os::store::kResultOk) {
        char text[128];
        std::snprintf(text, sizeof(text), "RequestStats - failed, %d\n", static_cast<int>(result->result));
        os::store::DebugOutput(text);
        return;
    }
    os::store::DebugOutput("Received stats and achievements from Steam\n");
    os::store::UserStats* stats = os::store::GetUserStats();
    if (stats)
        for (SteamAchievement& entry : achievements_) {
            bool achieved = false;
            if (stats->GetAchievement(entry.identifier, &achieved))
                entry.achieved = achieved;
            CopyCut(entry.name, sizeof(entry.name), stats->GetAchievementDisplayAttribute(entry.identifier, "name"));
            CopyCut(entry.desc, sizeof(entry.desc), stats->GetAchievementDisplayAttribute(entry.identifier, "desc"));
        }
    // Published last, so a game thread that sees it also sees the table filled.
    initialized_.store(true, std::memory_order_release);
}

void CSteamAchievements::OnUserStatsStored(const os::store::UserStatsStored* result)
{
    if (!result || result->gameId != gameId_)
        return;
    if (result->result == os::store::kResultOk) {
        os::store::DebugOutput("Stored stats for Steam\n");
        return;
    }
    char text[128];
    std::snprintf(text, sizeof(text), "StatsStored - failed, %d\n", static_cast<int>(result->result));
    os::store::DebugOutput(text);
}

void CSteamAchievements::OnAchievementStored(const os::store::UserAchievementStored* result)
{
    if (!result || result->gameId != gameId_)
        return;
    os::store::DebugOutput("Stored Achievement for Steam\n");
}

void UnlockAchievement(std::int32_t id)
{
    const char* identifier = CSteamAchievements::GetIdentifier(id);
    if (!identifier)
        return;
    const CSteamAchievements* achievements = gSteamAchievements.load(std::memory_order_acquire);
    if (!achievements || !achievements->IsInitialized())
        return;
    os::store::UserStats* stats = os::store::GetUserStats();
    if (!stats)
        return;
    stats->SetAchievement(identifier);
    stats->StoreStats();
}
