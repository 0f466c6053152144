#pragma once

#include <QString>

#include <functional>

class CFileChooser;
class CHrplApp;
class CHrplDoc;
class QWidget;

// File > Import... and Export...: the hours of the open plan out to CSV or the whole plan to
// JSON; CSV hours into the open plan, or a JSON plan into a new plan file that is then opened.
// The refresh of the panes and the opening of a file are the file commands'.
class CExchangeCommands {
public:
    CExchangeCommands(CHrplApp& app, CHrplDoc& document, CFileChooser& chooser, QWidget* parent)
        : m_app(app), m_document(document), m_chooser(chooser), m_parent(parent) {}

    void exportPlan();
    // Returns true when the open plan changed and the panes must be refilled; a JSON plan made
    // into a new file is handed to openFile.
    bool importPlan(const std::function<void(const QString&)>& openFile);

    static constexpr int kProgressRows = 20000;
    static constexpr const char* kNoMemory =
        "Nothing was imported: there is not enough memory for this file.";

private:
    bool importCsv(const QString& path);
    // The file dialog in the plan's folder; "" when cancelled or when there is none.
    QString askPath(const QString& title, const QString& filter, bool save) const;
    void importJson(const QString& path, const std::function<void(const QString&)>& openFile);
    QString folder() const;

    CHrplApp& m_app;
    CHrplDoc& m_document;
    CFileChooser& m_chooser;
    QWidget* m_parent;
};
