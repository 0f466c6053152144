#pragma once

#include <QDialog>

#include <functional>

// "Select how to adjust the time part": asked when a requested part would make the parts add
// up to more than 100 %. The choice is 0 to recalculate all parts, 1 to diminish some, 3 none.
class CAdjsTmPrtChsDlg : public QDialog {
public:
    static constexpr int kRecalculate = 0;
    static constexpr int kDiminish = 1;
    static constexpr int kNone = 3;

    explicit CAdjsTmPrtChsDlg(std::function<void(const QString&)> showHelp,
                              QWidget* parent = nullptr);
    int choice() const { return m_choice; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    int m_choice = kNone;
    std::function<void(const QString&)> m_showHelp;
};
