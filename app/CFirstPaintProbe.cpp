#include "app/CFirstPaintProbe.h"

#include <QApplication>
#include <QEvent>
#include <QMainWindow>
#include <QWidget>

#include <cstdio>
#include <cstdlib>

bool CFirstPaintProbe::wanted() {
    return qEnvironmentVariableIsSet("QLN_FIRST_PAINT_EXIT");
}

CFirstPaintProbe::CFirstPaintProbe() {
    m_clock.start();
    qApp->installEventFilter(this);
}

bool CFirstPaintProbe::eventFilter(QObject* watched, QEvent* event) {
    const auto* widget = qobject_cast<QWidget*>(watched);
    if (event->type() == QEvent::Paint && widget &&
        qobject_cast<const QMainWindow*>(widget->window())) {
        const qint64 elapsed = m_clock.elapsed();
        // Leave after this paint has been drawn; the plan was only read.
        QMetaObject::invokeMethod(
            qApp,
            [elapsed] {
                std::printf("first paint after %lld ms\n", static_cast<long long>(elapsed));
                std::fflush(stdout);
                std::_Exit(0);
            },
            Qt::QueuedConnection);
        qApp->removeEventFilter(this);
    }
    return QObject::eventFilter(watched, event);
}
