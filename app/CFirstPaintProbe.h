#pragma once

#include <QElapsedTimer>
#include <QObject>

// For start-up benchmarks only: with QLN_FIRST_PAINT_EXIT set, the program prints the time
// from the start of main() to the first paint inside the main window and leaves at once,
// storing nothing.
class CFirstPaintProbe : public QObject {
    Q_OBJECT

public:
    static bool wanted();
    CFirstPaintProbe();
    Q_DISABLE_COPY(CFirstPaintProbe)

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QElapsedTimer m_clock;
};
