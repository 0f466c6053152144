#include "app/CMvItmDlg.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

CMvItmDlg::CMvItmDlg(std::function<void()> performMove, std::function<void()> forgetPair,
                     ShowHelp showHelp, QWidget* parent)
    : CHelpDialog(QStringLiteral("mvItmDlgV.htm"), std::move(showHelp), parent),
      m_performMove(std::move(performMove)), m_forgetPair(std::move(forgetPair)) {
    setWindowTitle(QStringLiteral("Move item dialog"));
    setModal(false);
    auto* layout = new QGridLayout{this};
    m_item = new QLineEdit{this};
    m_destination = new QLineEdit{this};
    m_item->setReadOnly(true);
    m_destination->setReadOnly(true);
    m_item->setMinimumWidth(320);
    layout->addWidget(new QLabel{QStringLiteral("You are about to move:"), this}, 0, 0);
    layout->addWidget(m_item, 0, 1);
    layout->addWidget(new QLabel{QStringLiteral("Destination division"), this}, 1, 0);
    layout->addWidget(m_destination, 1, 1);
    auto* note = new QLabel{
        QStringLiteral("(to select the destination division  activate it in Input window while "
                       "this dialog is visible)"),
        this};
    note->setWordWrap(true);
    layout->addWidget(note, 2, 0, 1, 2);
    const ButtonRow row = makeOkCancelHelpRow(false);
    QPushButton* ok = row.ok;
    QPushButton* cancel = row.cancel;
    layout->addLayout(row.layout, 3, 0, 1, 2);
    connect(ok, &QPushButton::clicked, this, [this] { finish(true); });
    connect(cancel, &QPushButton::clicked, this, [this] { finish(false); });
}

void CMvItmDlg::openFor(const QString& itemName) {
    m_item->setText(itemName);
    m_destination->clear();
    m_open = true;
    show();
}

void CMvItmDlg::setDestination(const QString& name) {
    m_destination->setText(name);
}

QString CMvItmDlg::itemText() const {
    return m_item->text();
}

QString CMvItmDlg::destinationText() const {
    return m_destination->text();
}

void CMvItmDlg::finish(bool move) {
    m_open = false;
    if (move && m_performMove)
        m_performMove();
    if (m_forgetPair)
        m_forgetPair();
    hide();
}

void CMvItmDlg::reject() {
    finish(false);
}

void CMvItmDlg::closeEvent(QCloseEvent* event) {
    if (m_open) {
        m_open = false;
        if (m_forgetPair)
            m_forgetPair();
    }
    event->accept();
}
