#pragma once

#include "app/CFileDialogChooser.h"
#include "model/CHrplDoc.h"

#include <QObject>
#include <QString>

#include <functional>
#include <string>

class CHrplApp;
class CTimerControl;
class QWidget;

// The File menu's commands: open or new, samples, save, save as, import and export, and the
// load at start. A refused command leaves the plan, its file and the hold on it as they were.
// The window hears when another plan is open and when work that replaces the plan is over; the
// plan's file name is the document's, which the window follows on its own.
class CFileCommands : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY(CFileCommands)

public:
    static constexpr const char* kSamplesRefused =
        "The storing in samples directory is not allowed to avoid initial sample damage. "
        "Please, choose another directory.";
    static constexpr const char* kNotOpenedNoName =
        "File was not opened or created because no name was supplied for it.";
    static constexpr const char* kNotOpenedExtension =
        "File was not opened or created because it has no extension .qln or .bak that it must "
        "have.";
    static constexpr const char* kStoreFirst =
        "Please use \"File/Save As\" menu to save previous work and change file name if "
        "necessary.";
    static constexpr const char* kTimerKeepsPlan =
        "The plan stays open while its timer runs: another plan opens once the timer is stopped.";

    CFileCommands(CHrplApp& app, CHrplDoc& document, CTimerControl& timer, QWidget* parent)
        : m_app(app), m_document(document), m_timer(timer), m_parent(parent), m_dialog(parent) {}

    // Who is asked for a file's name: the desktop's dialog over the window unless a test
    // answers instead (nullptr gives the dialog back).
    void setFileChooser(CFileChooser* chooser) { m_chooser = chooser ? chooser : &m_dialog; }

    void openOrNew(const QString& startDirectory = QString());
    // The file chosen for File > Open, or named on the command line.
    void openNamed(const QString& chosen);
    void openSample();
    void importFile();
    void exportFile();
    void save();
    void saveAs();
    // The data file loaded as the program starts.
    CHrplDoc::LoadResult loadAtStart();

    // Runs work that replaces or fills the plan; the window's end waits until it is done.
    void runBusy(const std::function<void()>& work);
    bool busy() const { return m_busy > 0; }

signals:
    // The panes show another plan.
    void planOpened();
    // The open plan changed under the panes.
    void planFilled();
    // No load or import runs any more.
    void idle();

private:
    QString choose(const QString& title, const QString& start, const QString& filter,
                   bool saving) const;
    void loadChosen(const QString& chosen);
    void openChosen(const QString& chosen);
    bool openBackup(const QString& chosen);
    bool openPlanFile(const QString& chosen);
    bool createPlanFile(const QString& chosen);
    bool refuseName(const QString& path, const char* noName, const char* badExtension) const;

    CHrplApp& m_app;
    CHrplDoc& m_document;
    CTimerControl& m_timer;
    QWidget* m_parent;
    CFileDialogChooser m_dialog;
    CFileChooser* m_chooser = &m_dialog;
    int m_busy = 0;
};
