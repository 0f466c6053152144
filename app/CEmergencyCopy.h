#pragma once

#include <QString>

class CHrplDoc;
class CMessageSink;

// When a session ends and the plan cannot be stored where it belongs, no one is there to choose
// another name: the plan goes to the user's data folder instead, and the next start says where.
class CEmergencyCopy {
public:
    static constexpr const char* kSettingName = "qlnEmrgncyCpy";

    // Writes the plan to "$XDG_DATA_HOME/Quillon/NAME-YYYYMMDD-HHMMSS.qln" and remembers it;
    // the path, or "" when even that could not be written.
    static QString keep(const CHrplDoc& document, const QString& planPath);
    // Tells of a copy kept by an earlier session, once.
    static void reportKept(CMessageSink& messages);
};
