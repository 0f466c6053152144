#pragma once

#include "model/CHrplDoc.h"

#include <QString>

#include <functional>
#include <optional>
#include <string>

class CHrplApp;
class CTimerControl;
class QWidget;

// The File menu's commands: open or new, samples, save, save as, import and export, and the
// load at start. A refused command leaves the plan, its file and the hold on it as they were.
// The window is told when another plan is open and when work that replaces the plan is over.
class CFileCommands {
public:
    // Shows the file dialog: title, starting directory, filter, save mode; "" when cancelled.
    using ChooseFile = std::function<QString(const QString&, const QString&, const QString&, bool)>;
    struct Hooks {
        ChooseFile* chooseFile = nullptr;
        std::function<void()> planOpened; // the panes show another plan
        std::function<void()> planFilled; // the open plan changed under the panes
        std::function<void()> idle;       // no load or import runs any more
    };

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

    CFileCommands(CHrplApp& app, CHrplDoc& document, CTimerControl& timer, QWidget* parent,
                  Hooks hooks)
        : m_app(app), m_document(document), m_timer(timer), m_parent(parent),
          m_hooks(std::move(hooks)) {}

    // The desktop's file dialog over the window; a name typed without an extension takes the
    // chosen filter's.
    static ChooseFile fileDialog(QWidget* parent);

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

private:
    QString choose(const QString& title, const QString& start, const QString& filter,
                   bool saving) const;
    void loadChosen(const QString& chosen);
    void openChosen(const QString& chosen);
    bool openBackup(const QString& chosen);
    bool openPlanFile(const QString& chosen);
    bool createPlanFile(const QString& chosen);
    void adoptOpenedPath(const QString& loaded);
    bool refuseName(const QString& path, const char* noName, const char* badExtension) const;

    CHrplApp& m_app;
    CHrplDoc& m_document;
    CTimerControl& m_timer;
    QWidget* m_parent;
    Hooks m_hooks;
    int m_busy = 0;
};
