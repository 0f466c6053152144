#pragma once

#include "core/CMessageSink.h"

#include <QPointer>
#include <QWidget>

// Shows the engine's texts in message boxes over the main window. Unattended (while a session
// ends) no box may hold the program up: texts go to the standard error and questions get No.
class CQtMessageSink : public CMessageSink {
public:
    void message(const std::string& text) override;
    bool askYesNo(const std::string& text) override;
    Answer askYesNoCancel(const std::string& text) override;
    void setParent(QWidget* parent) { m_parent = parent; }
    void setUnattended() { m_unattended = true; }
    bool unattended() const override { return m_unattended; }

private:
    QPointer<QWidget> m_parent;
    bool m_unattended = false;
};
