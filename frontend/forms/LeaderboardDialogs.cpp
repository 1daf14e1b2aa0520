/** @file LeaderboardDialogs.cpp How the leaderboard jobs put their dialogs up and read their texts. */
#include "frontend/forms/LeaderboardDialogs.h"

#include "frontend/forms/DialogForm.h"
#include "frontend/forms/FormHelpers.h"
#include "frontend/forms/FormSceneLink.h"

namespace
{

boost::function<void(const boost::shared_ptr<CDialogForm>&)>& Shower()
{
    static boost::function<void(const boost::shared_ptr<CDialogForm>&)> shower;
    return shower;
}

boost::function<std::string(const std::string&)>& Lookup()
{
    static boost::function<std::string(const std::string&)> lookup;
    return lookup;
}

} // namespace

void ShowLeaderboardDialog(const boost::shared_ptr<CDialogForm>& dialog)
{
    if (Shower()) {
        Shower()(dialog);
    } else {
        ShowForm(dialog);
    }
}

void SetLeaderboardDialogShower(boost::function<void(const boost::shared_ptr<CDialogForm>&)> shower)
{
    Shower() = std::move(shower);
}

std::string LeaderboardText(const std::string& key)
{
    if (Lookup()) {
        return Lookup()(key);
    }
    return CFormSceneLink::GetText(key);
}

void SetLeaderboardTextLookup(boost::function<std::string(const std::string&)> lookup)
{
    Lookup() = std::move(lookup);
}
