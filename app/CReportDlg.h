#pragma once

#include "app/CFileDialogChooser.h"
#include "model/CArchivedHours.h"
#include "model/CPeriodReport.h"

#include <QDate>
#include <QDialog>

#include <memory>
#include <vector>

class CHrplDoc;
class QChartView;
class QComboBox;
class QDateEdit;
class QPushButton;
class QTextDocument;
class QTreeWidget;

// "Report": the hours of a month, a quarter, a year or any range, from the plan and the
// archive of the weeks it no longer keeps: every division (folding) and activity with its
// hours, its share of the period's hours, the share its time part plans and the difference,
// and a chart of the actual against the planned shares. Saves as PDF, HTML or CSV and prints.
class CReportDlg : public QDialog {
    Q_OBJECT

public:
    enum Kind { Month, Quarter, Year, Range };
    static constexpr const char* kPdfA4Filter = "PDF, A4 paper (*.pdf)";
    static constexpr const char* kPdfLetterFilter = "PDF, Letter paper (*.pdf)";
    static constexpr const char* kHtmlFilter = "Web page (*.html)";
    static constexpr const char* kCsvFilter = "CSV table (*.csv)";

    explicit CReportDlg(CHrplDoc& document, QWidget* parent = nullptr);
    ~CReportDlg() override;

    // Who names the file a report is saved in: the desktop's dialog unless a test answers.
    void setFileChooser(CFileChooser* chooser) { m_chooser = chooser ? chooser : &m_dialog; }

    // Reads the archive again and shows the period chosen.
    void reload();
    // Shows the period again as the plan stands now (another plan's archive is read first).
    void refresh();
    const CPeriodReport& report() const { return *m_report; }
    // The first and last day of the period the choices make.
    std::pair<QDate, QDate> period() const;
    bool saveAs();
    bool save(const QString& path, const QString& filter);
    // The report as the pages it prints on.
    std::unique_ptr<QTextDocument> document() const;

    QComboBox* kindBox() const { return m_kind; }
    QDateEdit* fromEdit() const { return m_from; }
    QDateEdit* toEdit() const { return m_to; }
    QTreeWidget* tree() const { return m_tree; }
    QChartView* chart() const { return m_chart; }
    QPushButton* saveButton() const { return m_save; }
    QPushButton* printButton() const { return m_print; }
    QPushButton* previousButton() const { return m_previous; }
    QPushButton* nextButton() const { return m_next; }

private:
    void buildChoices();
    void buildButtons();
    void step(int direction);
    void fillTree();
    void fillChart();
    void print();

    CHrplDoc& m_document;
    std::vector<CArchivedHours> m_archive;
    std::string m_archiveOf; // the plan whose archive was read
    std::unique_ptr<CPeriodReport> m_report;
    QComboBox* m_kind = nullptr;
    QDateEdit* m_from = nullptr;
    QDateEdit* m_to = nullptr;
    QPushButton* m_previous = nullptr;
    QPushButton* m_next = nullptr;
    QTreeWidget* m_tree = nullptr;
    QChartView* m_chart = nullptr;
    QPushButton* m_save = nullptr;
    QPushButton* m_print = nullptr;
    CFileDialogChooser m_dialog{this};
    CFileChooser* m_chooser = &m_dialog;
    bool m_refreshing = false;
};
