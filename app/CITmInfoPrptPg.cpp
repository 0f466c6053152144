#include "app/CITmInfoPrptPg.h"

#include "model/CItemInfo.h"

#include <QEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QLineEdit* readOnlyField(QWidget* parent) {
    auto* field = new QLineEdit{parent};
    field->setReadOnly(true);
    return field;
}

} // namespace

CITmInfoPrptPg::CITmInfoPrptPg(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout{this};
    auto* fields = new QFormLayout;
    m_name = readOnlyField(this);
    m_part = readOnlyField(this);
    m_hoursLeft = readOnlyField(this);
    m_reducedHours = readOnlyField(this);
    fields->addRow(QStringLiteral("Item Name"), m_name);
    fields->addRow(QStringLiteral("Time Part"), m_part);
    fields->addRow(QStringLiteral("Hrs Remains to be Spent"), m_hoursLeft);
    fields->addRow(QStringLiteral("Reduced Hrs Spent till End of Active Wk."), m_reducedHours);
    layout->addLayout(fields);
    auto* group = new QGroupBox{QStringLiteral("Memo"), this};
    auto* groupLayout = new QVBoxLayout{group};
    m_memo = new QPlainTextEdit{group};
    m_memo->setPlaceholderText(QString::fromLatin1(kMemoHint));
    m_memo->setToolTip(QString::fromLatin1(kMemoHint));
    m_memo->installEventFilter(this);
    groupLayout->addWidget(m_memo);
    layout->addWidget(group);
    storeButton = new QPushButton{QStringLiteral("Store Memo"), this};
    closeButton = new QPushButton{QStringLiteral("Close"), this};
    helpButton = new QPushButton{QStringLiteral("Help"), this};
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(storeButton);
    buttons->addStretch();
    buttons->addWidget(closeButton);
    buttons->addWidget(helpButton);
    layout->addLayout(buttons);
}

void CITmInfoPrptPg::setTexts(const CItemInfo& info) {
    m_name->setText(QString::fromStdString(info.itemName));
    m_part->setText(QString::fromStdString(info.plannedTimePart));
    m_hoursLeft->setText(QString::fromStdString(info.hoursRemaining));
    m_reducedHours->setText(QString::fromStdString(info.reducedHoursSpent));
    m_memo->setPlainText(QString::fromStdString(info.memo));
}

QString CITmInfoPrptPg::memoText() const {
    return m_memo->toPlainText();
}

void CITmInfoPrptPg::putCaretAtEnd() {
    m_memo->moveCursor(QTextCursor::End);
}

bool CITmInfoPrptPg::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_memo && event->type() == QEvent::FocusIn)
        memoModified = true;
    return QWidget::eventFilter(watched, event);
}
