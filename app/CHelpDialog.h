#pragma once

#include <QDialog>

#include <functional>

class QHBoxLayout;
class QPushButton;

// A dialog with a help topic: its Help button and the F1 key show the topic.
class CHelpDialog : public QDialog {
    Q_OBJECT

public:
    using ShowHelp = std::function<void(const QString& topic)>;

    CHelpDialog(QString topic, ShowHelp showHelp, QWidget* parent = nullptr);

protected:
    QPushButton* makeHelpButton();
    // The usual row at the foot of a dialog: OK, Cancel and Help, right-aligned.
    struct ButtonRow {
        QHBoxLayout* layout;
        QPushButton* ok;
        QPushButton* cancel;
    };
    ButtonRow makeOkCancelHelpRow(bool okIsDefault = true);
    void keyPressEvent(QKeyEvent* event) override;
    void showHelpTopic() const;

private:
    QString m_topic;
    ShowHelp m_showHelp;
};
