#pragma once

#include "updater/updateplan.h"

#include <QString>

namespace kivo {

enum class InstallOutcome {
    Installed,
    BadLength, // the download is not as long as the server announced (or announced nothing)
    NotExecutable, // the download is not a program for this machine
    TargetBusy, // the player could not be replaced
};

struct InstallReport
{
    InstallOutcome outcome = InstallOutcome::Installed;
    QString detail; // for the log
};

// Puts the downloaded player (plan.newPath) in place of plan.targetPath, never
// leaving the folder without a player that starts: the download is checked (length,
// program for this machine), made executable and synced; the old player stays
// as plan.backupPath (a second name for it, so the target never goes missing);
// then one rename replaces the target. Replacing a player that is running is
// fine: the running one keeps its old file. Whatever the outcome, newPath is gone
// afterwards.
InstallReport installNewPlayer(const UpdatePlan &plan, qint64 announcedLength);

} // namespace kivo
