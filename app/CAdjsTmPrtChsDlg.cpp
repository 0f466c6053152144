#include "app/CAdjsTmPrtChsDlg.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

CAdjsTmPrtChsDlg::CAdjsTmPrtChsDlg(ShowHelp showHelp, QWidget* parent)
    : CHelpDialog(QStringLiteral("adjstTmPrtChsDlgV.htm"), std::move(showHelp), parent) {
    setWindowTitle(QStringLiteral("Select how to adjust the time part"));
    auto* layout = new QGridLayout{this};
    auto* intro = new QLabel{
        QStringLiteral("The time part that you just requested would cause the sum of all the time "
                       "parts to be greater than 100% that cannot be. To correct this you can:"),
        this};
    intro->setWordWrap(true);
    auto* recalculate = new QPushButton{QStringLiteral("Recalculate"), this};
    auto* recalculateText =
        new QLabel{QStringLiteral("Recalculate the time parts of all the activities, preserving "
                                  "their current time part ratios, so that their sum becomes equal "
                                  "100%"),
                   this};
    recalculateText->setWordWrap(true);
    auto* diminish = new QPushButton{QStringLiteral("Diminish"), this};
    auto* diminishText =
        new QLabel{QStringLiteral("Diminish the time parts for some items."), this};
    auto* cancel = new QPushButton{QStringLiteral("Cancel"), this};
    QPushButton* help = makeHelpButton();
    layout->addWidget(intro, 0, 0, 1, 2);
    layout->addWidget(recalculate, 1, 0);
    layout->addWidget(recalculateText, 1, 1);
    layout->addWidget(diminish, 2, 0);
    layout->addWidget(diminishText, 2, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cancel);
    buttons->addWidget(help);
    layout->addLayout(buttons, 3, 0, 1, 2);
    layout->setColumnStretch(1, 1);
    connect(recalculate, &QPushButton::clicked, this, [this] {
        m_choice = kRecalculate;
        accept();
    });
    connect(diminish, &QPushButton::clicked, this, [this] {
        m_choice = kDiminish;
        accept();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    setMinimumWidth(480);
}
