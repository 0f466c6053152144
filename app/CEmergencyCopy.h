#pragma once

#include <QString>
#include <QStringList>

class CHrplDoc;
class CMessageSink;

// When a session ends and the plan cannot be stored where it belongs, no one is there to choose
// another name: the plan goes to a copy of its own instead, and the next start says where. Each
// copy has a name no other copy has, however many programs end at once, and each is remembered
// on its own, so that none goes untold.
class CEmergencyCopy {
public:
    static constexpr const char* kSettingName = "qlnEmrgncyCpy";

    // Writes the plan to "NAME-YYYYMMDD-HHMMSS.qln" (with "-2", "-3"... while that is taken) in
    // the first folder that takes it: the user's data folder's "Quillon", the home folder, the
    // temporary folder. The path, or "" when none could be written.
    static QString keep(const CHrplDoc& document, const QString& planPath);
    // The folders a copy may go to, the first choice first.
    static QStringList folders();
    // Tells of the copies kept by earlier sessions, once.
    static void reportKept(CMessageSink& messages);

private:
    static QString writeIn(const CHrplDoc& document, const QString& folder, const QString& name);
    static void remember(const QString& planPath, const QString& copy);
};
