#pragma once

#include <QMainWindow>

#include "views/CLayoutGreed.h"

#include <memory>

class CAdjsTmPrtDlg;
class CHrplApp;
class CHrplDoc;
class CHrplView;
class CItmInfoPrptSht;
class CMvItmDlg;

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
    CHrplView* view() const { return m_view; }
    void showHelpTopic(const QString& topic) const;
    static bool parsePlacement(const QString& text, int numbers[10]);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    void storeOnClose();
    void showDefaultPlacement();
    void createView();
    void wireInputPane();
    void showItemInfo(std::uint16_t item, bool modal);

    CHrplApp& m_app;
    CHrplDoc& m_document;
    bool m_stored = false;
    CLayoutGreed m_layout;
    CHrplView* m_view = nullptr;
    CMvItmDlg* m_moveDialog = nullptr;
    CAdjsTmPrtDlg* m_adjustDialog = nullptr;
    CItmInfoPrptSht* m_sheet = nullptr;
};
