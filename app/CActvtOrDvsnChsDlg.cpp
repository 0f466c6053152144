#include "app/CActvtOrDvsnChsDlg.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

CActvtOrDvsnChsDlg::CActvtOrDvsnChsDlg(ShowHelp showHelp, QWidget* parent)
    : CHelpDialog(QStringLiteral("actvtOrDvsnChsDlgV.htm"), std::move(showHelp), parent) {
    setWindowTitle(QStringLiteral("Activity or Division?"));
    auto* layout = new QVBoxLayout{this};
    layout->addWidget(new QLabel{QStringLiteral("Select what you would like to insert."), this});
    auto* buttons = new QHBoxLayout;
    auto* activity = new QPushButton{QStringLiteral("Activity"), this};
    auto* division = new QPushButton{QStringLiteral("Division"), this};
    auto* cancel = new QPushButton{QStringLiteral("Cancel"), this};
    activity->setDefault(true);
    buttons->addWidget(activity);
    buttons->addWidget(division);
    buttons->addWidget(cancel);
    buttons->addWidget(makeHelpButton());
    layout->addLayout(buttons);
    connect(activity, &QPushButton::clicked, this, &QDialog::accept);
    connect(division, &QPushButton::clicked, this, [this] { done(kDivision); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}
