#include "app/CFrstSrtpChs.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

CFrstSrtpChs::CFrstSrtpChs(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Should QLN run at startup?"));
    auto* layout = new QVBoxLayout{this};
    auto* question = new QLabel{
        QStringLiteral("Should QLN start automatically when you turn on your computer?"), this};
    QFont bold = question->font();
    bold.setBold(true);
    question->setFont(bold);
    auto* advice = new QLabel{
        QStringLiteral("We encourage you to click Yes because otherwise you may forget about your "
                       "current priorities and the need to balance your most important activates. "
                       "You may always change this option later."),
        this};
    advice->setWordWrap(true);
    auto* buttons = new QDialogButtonBox{this};
    buttons->addButton(QStringLiteral("Yes"), QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(QStringLiteral("No"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(question);
    layout->addWidget(advice);
    layout->addWidget(buttons);
    setMinimumWidth(460);
}
