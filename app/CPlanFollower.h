#pragma once

#include "model/CPlanSync.h"

#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QTimer>

class CHrplDoc;
class CMainFrame;

// The open plan follows its file while other computers change it through a sync engine. The
// file and its folder are watched, and looked at every second besides, where the file system
// tells nothing (a network mount); a new version is taken in at once, the conflict copies a
// sync engine leaves beside the plan are merged, and the window says what it took in. What is
// merged and how is the engine's (CPlanSync); this class looks, refreshes the panes and tells.
class CPlanFollower : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY(CPlanFollower)

public:
    static constexpr int kLookMs = 1000;
    // The folder is listed for conflict copies on its own events and every so many looks.
    static constexpr int kLooksPerListing = 10;
    static constexpr const char* kReloaded =
        "The plan was updated from its file, changed on another computer.";
    static constexpr const char* kMerged =
        "Changes made on another computer were merged into the plan";

    CPlanFollower(CMainFrame& frame, CHrplDoc& document);
    ~CPlanFollower() override;

    CPlanSync& sync() { return m_sync; }
    // Looks at the file now, and at the conflict copies when asked; nothing happens while the
    // user is in the middle of something (an edit, a dialog, a load), and the next look tries
    // again.
    void look(bool copiesToo = false);
    // A store just made: what it merged in is shown.
    void afterStore();

private:
    bool userBusy() const;
    void watch();
    void takeIn(CPlanSync::Report report);
    void tell(const CPlanSync::Report& report);

    CMainFrame& m_frame;
    CHrplDoc& m_document;
    CPlanSync m_sync;
    QFileSystemWatcher m_watcher;
    QTimer m_clock;
    int m_looks = 0;
    bool m_looking = false;
};
