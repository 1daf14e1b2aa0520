/** @file LeaderboardDialogs.h How the leaderboard jobs put their dialogs up and read their texts. */
#pragma once

#include <string>

#include <boost/function.hpp>
#include <boost/shared_ptr.hpp>

class CDialogForm;

/// Adds the dialog to the screen (which opens it), or hands it to the shower a test set.
void ShowLeaderboardDialog(const boost::shared_ptr<CDialogForm>& dialog);
/// Empty: the screen.
void SetLeaderboardDialogShower(boost::function<void(const boost::shared_ptr<CDialogForm>&)> shower);

/// The text of the key from the resource scene's table, or from the lookup a test set.
std::string LeaderboardText(const std::string& key);
/// Empty: the resource scene.
void SetLeaderboardTextLookup(boost::function<std::string(const std::string&)> lookup);
