#pragma once

#include <QMainWindow>

class CHrplApp;
class CHrplDoc;

// The program's top-level window. It opens the document's data file, keeps its own placement
// in the settings, and on closing stores the plan and releases the data file.
class CMainFrame : public QMainWindow {
public:
    static constexpr const char* kPlacementValue = "MnFrmSzPs";

    CMainFrame(CHrplApp& app, CHrplDoc& document);
    ~CMainFrame() override;

    // Loads the data file under a wait cursor and closes the splash; false when another
    // process holds the file and the program must end.
    bool openDocument();
    void showWithPlacement();
    QString placementText() const;
    static bool parsePlacement(const QString& text, int numbers[10]);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    void storeOnClose();
    void showDefaultPlacement();

    CHrplApp& m_app;
    CHrplDoc& m_document;
    bool m_stored = false;
};
