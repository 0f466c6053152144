#include "app/CAppCore.h"

bool CAppCore::start(const std::string& libraryDirectory) {
    if (!m_library.load(libraryDirectory))
        return false;
    m_library.setMessageSink(&m_messages);
    m_library.initApp();
    m_config = CQlnConfig::read([this] { return m_library.nextConfigValue(); });
    m_dates.startFromClock(m_config.detailedWeeks, m_config.keptWeeks, m_config.daysPerWeek);
    m_dates.setDayMode(m_config.dayMode);
    return true;
}
