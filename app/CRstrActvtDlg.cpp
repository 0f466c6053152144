#include "app/CRstrActvtDlg.h"

#include "core/CMessageSink.h"
#include "core/CMyStringDate.h"

#include <QHeaderView>

#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

CRstrActvtDlg::CRstrActvtDlg(CMessageSink& messages, ShowHelp showHelp, QWidget* parent)
    : CHelpDialog(QStringLiteral("rstrActvtDlgV.htm"), std::move(showHelp), parent),
      m_messages(messages) {
    setWindowTitle(QStringLiteral("Restore an Activity"));
    auto* layout = new QVBoxLayout{this};
    layout->addWidget(
        new QLabel{QStringLiteral("To restore Activities select them and click \"OK\"."), this});
    m_list = new QTreeWidget{this};
    m_list->setColumnCount(2);
    m_list->setHeaderLabels({QStringLiteral("Activity"), QStringLiteral("Last Date")});
    m_list->setRootIsDecorated(false);
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_list->setMinimumSize(420, 220);
    // "Last Date" is twelve average characters wide (and never narrower than a date, whose
    // digits are wider than the average); "Activity" takes the rest.
    m_list->header()->setStretchLastSection(false);
    m_list->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    const QFontMetrics metrics = m_list->fontMetrics();
    m_list->header()->resizeSection(
        1, std::max(12 * metrics.averageCharWidth(),
                    metrics.horizontalAdvance(QStringLiteral("00/00/0000")) + 16));
    layout->addWidget(m_list);
    const ButtonRow row = makeOkCancelHelpRow(true);
    QPushButton* ok = row.ok;
    QPushButton* cancel = row.cancel;
    layout->addLayout(row.layout);
    connect(ok, &QPushButton::clicked, this, &CRstrActvtDlg::accept);
    connect(cancel, &QPushButton::clicked, this, [this] {
        m_list->clear();
        m_rowItems.clear();
        reject();
    });
}

bool CRstrActvtDlg::fill(const std::vector<CPlanEditor::RestoreCandidate>& candidates) {
    m_list->clear();
    m_rowItems.clear();
    m_chosen.clear();
    if (candidates.empty()) {
        m_messages.message(kNothingToRestore);
        return false;
    }
    for (const CPlanEditor::RestoreCandidate& candidate : candidates) {
        CMyStringDate last;
        const QString date = last.setText(candidate.lastDate)
                                 ? QString::fromStdString(last.displayForm())
                                 : QString();
        new QTreeWidgetItem{m_list, {QString::fromStdString(candidate.name), date}};
        m_rowItems.push_back(candidate.id);
    }
    return true;
}

int CRstrActvtDlg::run(const std::vector<CPlanEditor::RestoreCandidate>& candidates) {
    if (!fill(candidates))
        return QDialog::Rejected;
    return exec();
}

void CRstrActvtDlg::accept() {
    m_chosen.clear();
    for (int row = 0; row < m_list->topLevelItemCount(); ++row)
        if (m_list->topLevelItem(row)->isSelected())
            m_chosen.push_back(m_rowItems[static_cast<std::size_t>(row)]);
    m_list->clear();
    m_rowItems.clear();
    QDialog::accept();
}
