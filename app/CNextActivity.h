#pragma once

#include <QString>

#include <cstdint>
#include <optional>

class CQLData;

// The activity the priorities put first: the one furthest behind its plan, with the hours it
// still needs. The tray's tooltip and the reminders name it.
struct CNextActivity {
    std::int32_t id = -1;
    QString fullName;
    long long minutesToPlan = 0;

    static std::optional<CNextActivity> of(CQLData& plan);
    // "1:30".
    QString hoursText() const;
};
