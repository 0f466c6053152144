#include "app/CQtMessageSink.h"

#include <QMessageBox>

#include <cstdio>

namespace {
const QString kTitle = QStringLiteral("Q&L");
}

void CQtMessageSink::message(const std::string& text) {
    if (m_unattended) {
        std::fprintf(stderr, "qln: %s\n", text.c_str());
        return;
    }
    QMessageBox::information(m_parent, kTitle, QString::fromStdString(text), QMessageBox::Ok);
}

bool CQtMessageSink::askYesNo(const std::string& text) {
    if (m_unattended) {
        std::fprintf(stderr, "qln: %s No.\n", text.c_str());
        return false;
    }
    return QMessageBox::question(m_parent, kTitle, QString::fromStdString(text),
                                 QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

CMessageSink::Answer CQtMessageSink::askYesNoCancel(const std::string& text) {
    if (m_unattended) {
        std::fprintf(stderr, "qln: %s No.\n", text.c_str());
        return Answer::No;
    }
    // Escape and the window's close button are Cancel.
    switch (QMessageBox::question(m_parent, kTitle, QString::fromStdString(text),
                                  QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel)) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return Answer::Cancel;
    }
}
