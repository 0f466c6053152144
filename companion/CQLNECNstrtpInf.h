#pragma once

#include <QString>

#include <optional>

// The logon start-up entry shared with the companion reminder, and where both programs are
// installed. The entry is an XDG autostart desktop file whose Exec line is the entry's value:
// the launcher with "-qln" and/or "-rmndr" in the chosen order, or one program started
// directly. The class can act for either side; the program and the clean-up program act for
// this program's side. Failures of the file system or the settings are silent.
class CQLNECNstrtpInf {
public:
    enum StartupState {
        BothCompanionFirst = 0,
        BothProgramFirst = 1,
        None = 2,
        CompanionOnly = 3,
        ProgramOnly = 4
    };
    enum StartupChoice { RunBelow = 0, RunAbove = 1, DoNotRun = 2 };

    struct Locations {
        QString userAutostartDir;   // the current user's logon entries
        QString systemAutostartDir; // everybody's (the legacy place of the entry)
    };

    explicit CQLNECNstrtpInf(bool forProgram = true);
    CQLNECNstrtpInf(bool forProgram, Locations locations);

    std::optional<QString> findInstalledPath(bool own) const;
    static bool containsPath(const QString& path, const QString& text);
    int readStartupState() const;
    void applyStartupChoice(int choice);
    void removeOwnStartup();
    void registerOwnPath(const QString& path);
    void deleteLegacyRunValue();

    // The entry's value; empty when there is none.
    QString readRunValue() const;
    void writeRunValue(const QString& value);
    void deleteRunValue();
    QString runEntryPath() const;

    static Locations defaultLocations();
    // True when the text names the program file as a whole path component ("/x/qln", not "-qln").
    static bool mentionsFile(const QString& text, const QString& file);
    static bool hasSwitch(const QString& text, const QString& sw);

    const QString valueName{QStringLiteral("qllnPrgrm")};
    const QString launcherFile{QStringLiteral("reminder")};
    const QString programFile{QStringLiteral("qln")};
    const QString companionFile{QStringLiteral("ecn")};
    const QString companionSwitch{QStringLiteral("-rmndr")};
    const QString programSwitch{QStringLiteral("-qln")};
    const QString programAcronym{QStringLiteral("qln")};
    const QString companionAcronym{QStringLiteral("ecn")};

private:
    QString launcherPath(const QString& ownPath) const;

    bool m_forProgram;
    QString m_ownSwitch, m_partnerSwitch, m_ownFile, m_partnerFile, m_ownAcronym, m_partnerAcronym;
    Locations m_locations;
};
