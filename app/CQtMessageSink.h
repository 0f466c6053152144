#pragma once

#include "model/CMessageSink.h"

#include <QPointer>
#include <QWidget>

// Shows the engine's texts in message boxes over the main window.
class CQtMessageSink : public CMessageSink {
public:
    void message(const std::string& text) override;
    bool askYesNo(const std::string& text) override;
    void setParent(QWidget* parent) { m_parent = parent; }

private:
    QPointer<QWidget> m_parent;
};
