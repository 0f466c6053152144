#pragma once

#include <QString>

// What a name given for a plan file is: a plan (".qln"), a plan's backup (".bak"), or a name
// no plan goes by. File > Open and the command line go by the same rule.
class CPlanFileName {
public:
    enum class Kind { Plan, Backup, NoName, WrongExtension };

    static Kind of(const QString& path);
};
