#include "app/CSttstcsPge.h"

#include "model/CItemInfo.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

CSttstcsPge::CSttstcsPge(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout{this};
    auto* fields = new QFormLayout;
    auto field = [this] {
        auto* f = new QLineEdit{this};
        f->setReadOnly(true);
        return f;
    };
    m_name = field();
    m_caption = new QLabel{this};
    m_caption->setWordWrap(true);
    m_actual = field();
    m_planned = field();
    m_ratio = field();
    fields->addRow(QStringLiteral("Item Name"), m_name);
    fields->addRow(m_caption);
    fields->addRow(QString(), m_actual);
    fields->addRow(QStringLiteral("Planned Time Part"), m_planned);
    fields->addRow(QStringLiteral("Actual/Planned"), m_ratio);
    layout->addLayout(fields);
    layout->addStretch();
    closeButton = new QPushButton{QStringLiteral("Close"), this};
    helpButton = new QPushButton{QStringLiteral("Help"), this};
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(closeButton);
    buttons->addWidget(helpButton);
    layout->addLayout(buttons);
}

void CSttstcsPge::setTexts(const CItemInfo& info) {
    m_name->setText(QString::fromStdString(info.itemName));
    m_caption->setText(QString::fromStdString(info.averagingCaption));
    m_actual->setText(QString::fromStdString(info.actualAveragedPart));
    m_planned->setText(QString::fromStdString(info.plannedTimePart));
    m_ratio->setText(QString::fromStdString(info.actualToPlannedRatio));
}

QString CSttstcsPge::caption() const {
    return m_caption->text();
}

QString CSttstcsPge::actual() const {
    return m_actual->text();
}

QString CSttstcsPge::ratio() const {
    return m_ratio->text();
}
