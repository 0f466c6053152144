#pragma once

#include <QElapsedTimer>
#include <QWidget>

// The splash window: a caption-less window with the program picture, shown while the program
// starts. It remembers when it was shown so that it can stay up long enough to be seen.
class CWlcmDlg : public QWidget {
    Q_OBJECT

public:
    CWlcmDlg();
    qint64 shownForMs() const { return m_shown.elapsed(); }

private:
    QElapsedTimer m_shown;
};
