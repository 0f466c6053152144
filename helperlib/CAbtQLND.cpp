#include "helperlib/CAbtQLND.h"

#include "helperlib/QlnArt.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

CAbtQLND::CAbtQLND(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("About Q&L"));
    setWindowIcon(qlnart::icon());
    auto* layout = new QGridLayout{this};
    auto* picture = new QLabel{this};
    picture->setPixmap(qlnart::iconPixmap(48));
    auto* text = new QLabel{QStringLiteral("Quillon. Version 1.4.1"), this};
    auto* ok = new QPushButton{QStringLiteral("OK"), this};
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(picture, 0, 0, Qt::AlignTop | Qt::AlignLeft);
    layout->addWidget(text, 0, 1, Qt::AlignTop | Qt::AlignLeft);
    layout->addWidget(ok, 0, 2, Qt::AlignTop | Qt::AlignRight);
    layout->setColumnStretch(1, 1);
    layout->setRowStretch(1, 1);
    // 226 by 169 dialog units at the usual dialog font.
    const QFontMetrics metrics = fontMetrics();
    resize(226 * metrics.averageCharWidth() / 4, 169 * metrics.height() / 8);
}
