#pragma once

#include "core/CAppDates.h"
#include "model/CHelperLibrary.h"
#include "model/CQlnConfig.h"

class CMessageSink;

// The part of the application object that the engine needs: the helper library, the
// configuration values, the dates and the message sink. The program and the command-line
// tool each own one for the whole run.
class CAppCore {
public:
    static constexpr const char* kLibraryMissing =
        "An important system file is either absent or damaged! Reinstall QLN please.";

    explicit CAppCore(CMessageSink& messages) : m_messages(messages), m_dates(messages) {}

    // Loads the library from the directory, reads the configuration sequence and sets
    // today and the period starts from the clock. False when the library is unusable.
    bool start(const std::string& libraryDirectory);

    // The installation directory: the parent of the directory that holds the programs.
    void setInstallDirectory(const std::string& directory) { m_installDirectory = directory; }
    const std::string& installDirectory() const { return m_installDirectory; }
    // With a trailing separator.
    std::string samplesDirectoryPath() const;
    // An installed tree is marked by this file beside the programs.
    static constexpr const char* kInstalledMarker = "installed";
    // A tree that was installed, or that this user cannot write, is left as it is: the user's
    // plans go to "$XDG_DATA_HOME/Quillon". A run from the build folder keeps them in the tree.
    bool keepsUserDataOutside() const;
    // The folder of the user's plans (not created here).
    std::string userDataDirectory() const;
    // The working copy of a loaded sample; creates the user data directory when missing.
    std::string temporaryDataFilePath() const;

    // The statistics period option: 0 quarter (13 weeks), 1 year (52), 2 month (4).
    int averagingPeriodIndex() const { return m_averagingPeriodIndex; }
    void setAveragingPeriodIndex(int index) { m_averagingPeriodIndex = index; }
    int averagedWeeks() const;

    // Hours typed as decimals ("1.5" an hour and a half) rather than hours.minutes; "4:30"
    // is read alike either way.
    bool decimalHours() const { return m_decimalHours; }
    void setDecimalHours(bool decimal) { m_decimalHours = decimal; }

    // The division the divisions pane shows; starts as the configuration says.
    int currentDivision() const { return m_currentDivision; }
    void setCurrentDivision(int division) { m_currentDivision = division; }

    CMessageSink& messages() const { return m_messages; }
    const CHelperLibrary& library() const { return m_library; }
    CHelperLibrary& library() { return m_library; }
    const CQlnConfig& config() const { return m_config; }
    CAppDates& dates() { return m_dates; }
    const CAppDates& dates() const { return m_dates; }

private:
    CMessageSink& m_messages;
    CHelperLibrary m_library;
    CQlnConfig m_config;
    CAppDates m_dates;
    std::string m_installDirectory{"."};
    int m_averagingPeriodIndex = 0;
    int m_currentDivision = 0;
    bool m_decimalHours = false;
};
