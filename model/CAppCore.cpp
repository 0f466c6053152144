#include "model/CAppCore.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include <unistd.h>

bool CAppCore::start(const std::string& libraryDirectory) {
    if (!m_library.load(libraryDirectory))
        return false;
    m_library.setMessageSink(&m_messages);
    m_library.initApp();
    m_config = CQlnConfig::read([this] { return m_library.nextConfigValue(); });
    m_dates.startFromClock(m_config.detailedWeeks, m_config.keptWeeks, m_config.daysPerWeek);
    m_dates.setDayMode(m_config.dayMode);
    m_currentDivision = m_config.startingDivision;
    return true;
}

std::string CAppCore::samplesDirectoryPath() const {
    return m_installDirectory + "/" + m_config.samplesDirName + "/";
}

bool CAppCore::keepsUserDataOutside() const {
    std::error_code ignored;
    return std::filesystem::exists(m_installDirectory + "/system/" + kInstalledMarker, ignored) ||
           ::access(m_installDirectory.c_str(), W_OK) != 0;
}

std::string CAppCore::userDataDirectory() const {
    const std::string inTree = m_installDirectory + "/" + m_config.userDataDirName;
    if (!keepsUserDataOutside())
        return inTree;
    // The XDG rule: a relative or empty value is ignored.
    const char* data = std::getenv("XDG_DATA_HOME");
    const char* home = std::getenv("HOME");
    if (data && data[0] == '/')
        return std::string{data} + "/Quillon/" + m_config.userDataDirName;
    if (home && home[0] == '/')
        return std::string{home} + "/.local/share/Quillon/" + m_config.userDataDirName;
    return inTree;
}

std::string CAppCore::temporaryDataFilePath() const {
    const std::string directory = userDataDirectory();
    std::error_code ignored;
    std::filesystem::create_directories(directory, ignored);
    return directory + "/" + m_config.tempDataFileName;
}

int CAppCore::averagedWeeks() const {
    switch (m_averagingPeriodIndex) {
    case 0:
        return 13;
    case 2:
        return 4;
    default:
        return 52;
    }
}
