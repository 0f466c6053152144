#include "app/COvrcmplctdStrctWnngDlg.h"

#include "views/GridFont.h"

#include <QGridLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

COvrcmplctdStrctWnngDlg::COvrcmplctdStrctWnngDlg(const QString& explanation, ShowHelp showHelp,
                                                 QWidget* parent)
    : CHelpDialog(QStringLiteral("ovrcmplctdStrctWnngDlgV.htm"), std::move(showHelp), parent) {
    setWindowTitle(QStringLiteral("Warning about overcomplicated structure."));
    auto* layout = new QGridLayout{this};
    auto* text = new QPlainTextEdit{explanation, this};
    text->setReadOnly(true);
    text->setFont(gridFont(QStringLiteral("Courier New"), 10));
    text->setMinimumSize(560, 140);
    layout->addWidget(text, 0, 0, 1, 2);
    auto* first = new QLabel{
        QStringLiteral("1. Create the new division in the root division (an easy to perceive "
                       "and work with structure)"),
        this};
    auto* second =
        new QLabel{QStringLiteral("2. Create the new division as you chose before in other (named) "
                                  "division (a difficult to perceive and work with structure)"),
                   this};
    first->setWordWrap(true);
    second->setWordWrap(true);
    auto* inRoot = new QPushButton{QStringLiteral("Create"), this};
    auto* asChosen = new QPushButton{QStringLiteral("Create"), this};
    inRoot->setDefault(true);
    layout->addWidget(first, 1, 0);
    layout->addWidget(inRoot, 1, 1);
    layout->addWidget(second, 2, 0);
    layout->addWidget(asChosen, 2, 1);
    auto* cancel = new QPushButton{QStringLiteral("Cancel"), this};
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cancel);
    buttons->addWidget(makeHelpButton());
    layout->addLayout(buttons, 3, 0, 1, 2);
    layout->setColumnStretch(0, 1);
    connect(inRoot, &QPushButton::clicked, this, [this] { done(kInRoot); });
    connect(asChosen, &QPushButton::clicked, this, [this] { done(kAsChosen); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}
