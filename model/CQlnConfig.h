#pragma once

#include <cstdint>
#include <functional>
#include <string>

// The configuration values handed out by the helper library at start-up, read once in their
// fixed order. Unnamed values are read to keep the order and otherwise unused.
struct CQlnConfig {
    std::int16_t detailedWeeks = 0;
    int unused2 = 0;
    double middleThreshold = 0;
    int unused4 = 0;
    double daysPerWeek = 7.0;
    int unused6 = 0;
    int unused7 = 0;
    std::string userDataDirName{"UserWork"};
    double priorityScale = 0;
    double decayFactor = 0;
    int minimumStatisticsWeeks = 0;
    double hoursPerDay = 0; // H: the hours a 100 % part stands for in one day
    std::string tempDataFileName;
    double lowThreshold = 0;
    bool unusedFlag15 = false;
    int unused16 = 0;
    std::string unusedText17;
    std::int16_t keptWeeks = 0;
    std::string unusedText19;
    double highThreshold = 0;
    double daysPerMonth = 0;
    int unused22 = 0;
    bool dayMode = true;
    std::string samplesDirName;
    std::int16_t startingDivision = 0;

    // Reads the 25 values from next(), each with its leading "0" characters removed.
    static CQlnConfig read(const std::function<std::string()>& next);
};
