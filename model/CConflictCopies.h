#pragma once

#include <string>
#include <vector>

// The copies a sync engine leaves beside a plan when two computers changed it at once, each
// holding hours someone typed: Syncthing's "NAME.sync-conflict-YYYYMMDD-HHMMSS-DEVICE.qln",
// Nextcloud's and ownCloud's "NAME (conflicted copy YYYY-MM-DD HHMMSS).qln" and Dropbox's
// "NAME (HOST's conflicted copy YYYY-MM-DD).qln".
class CConflictCopies {
public:
    // Whether the file is a conflict copy of the plan (both by name, in one folder).
    static bool isCopyOf(const std::string& plan, const std::string& path);
    // The plan's conflict copies, oldest name first.
    static std::vector<std::string> of(const std::string& plan);
};
