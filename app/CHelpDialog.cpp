#include "app/CHelpDialog.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>

CHelpDialog::CHelpDialog(QString topic, ShowHelp showHelp, QWidget* parent)
    : QDialog(parent), m_topic(std::move(topic)), m_showHelp(std::move(showHelp)) {}

QPushButton* CHelpDialog::makeHelpButton() {
    auto* help = new QPushButton{QStringLiteral("Help"), this};
    help->setAutoDefault(false);
    connect(help, &QPushButton::clicked, this, [this] { showHelpTopic(); });
    return help;
}

CHelpDialog::ButtonRow CHelpDialog::makeOkCancelHelpRow(bool okIsDefault) {
    ButtonRow row{new QHBoxLayout, new QPushButton{QStringLiteral("OK"), this},
                  new QPushButton{QStringLiteral("Cancel"), this}};
    row.ok->setDefault(okIsDefault);
    row.layout->addStretch();
    row.layout->addWidget(row.ok);
    row.layout->addWidget(row.cancel);
    row.layout->addWidget(makeHelpButton());
    return row;
}

void CHelpDialog::showHelpTopic() const {
    if (m_showHelp)
        m_showHelp(m_topic);
}

void CHelpDialog::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F1) {
        showHelpTopic();
        return;
    }
    QDialog::keyPressEvent(event);
}
