#include "model/CQlnConfig.h"

#include "parse/DecimalText.h"

#include <cstdlib>

namespace {

class ConfigReader {
public:
    explicit ConfigReader(const std::function<std::string()>& next) : m_next(next) {}

    std::string text() {
        std::string value = m_next();
        value.erase(0, value.find_first_not_of('0'));
        return value;
    }
    int integer() { return std::atoi(text().c_str()); }
    double floating() { return decimaltext::leadingValue(text()); }
    std::int16_t shortInteger() { return static_cast<std::int16_t>(integer()); }
    bool flag() { return integer() != 0; }

private:
    const std::function<std::string()>& m_next;
};

} // namespace

CQlnConfig CQlnConfig::read(const std::function<std::string()>& next) {
    ConfigReader in{next};
    CQlnConfig c;
    c.detailedWeeks = in.shortInteger();
    c.unused2 = in.integer();
    c.middleThreshold = in.floating();
    c.unused4 = in.integer();
    c.daysPerWeek = in.floating();
    c.unused6 = in.integer();
    c.unused7 = in.integer();
    c.userDataDirName = in.text();
    c.priorityScale = in.floating();
    c.decayFactor = in.floating();
    c.minimumStatisticsWeeks = in.integer();
    c.hoursPerDay = in.floating();
    c.tempDataFileName = in.text();
    c.lowThreshold = in.floating();
    c.unusedFlag15 = in.flag();
    c.unused16 = in.integer();
    c.unusedText17 = in.text();
    c.keptWeeks = in.shortInteger();
    c.unusedText19 = in.text();
    c.highThreshold = in.floating();
    c.daysPerMonth = in.floating();
    c.unused22 = in.integer();
    c.dayMode = in.flag();
    c.samplesDirName = in.text();
    c.startingDivision = in.shortInteger();
    return c;
}
