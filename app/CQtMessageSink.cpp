#include "app/CQtMessageSink.h"

#include <QMessageBox>

namespace {
const QString kTitle = QStringLiteral("Q&L");
}

void CQtMessageSink::message(const std::string& text) {
    QMessageBox::information(m_parent, kTitle, QString::fromStdString(text), QMessageBox::Ok);
}

bool CQtMessageSink::askYesNo(const std::string& text) {
    return QMessageBox::question(m_parent, kTitle, QString::fromStdString(text),
                                 QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}
