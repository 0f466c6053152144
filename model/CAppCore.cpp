#include "model/CAppCore.h"

#include <filesystem>
#include <system_error>

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

std::string CAppCore::temporaryDataFilePath() const {
    const std::string directory = m_installDirectory + "/" + m_config.userDataDirName;
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
