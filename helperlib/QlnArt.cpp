#include "helperlib/QlnArt.h"

#include <QPainter>
#include <QSvgRenderer>

namespace qlnart {
namespace {

QPixmap render(const QString& resource, const QSize& size) {
    QPixmap pixmap{size};
    pixmap.fill(Qt::transparent);
    QSvgRenderer renderer{resource};
    QPainter painter{&pixmap};
    renderer.render(&painter);
    return pixmap;
}

} // namespace

QPixmap iconPixmap(int size) {
    return render(QStringLiteral(":/qln/qln-icon.svg"), QSize(size, size));
}

QIcon icon() {
    QIcon result;
    for (int size : {16, 32, 48, 64, 128})
        result.addPixmap(iconPixmap(size));
    return result;
}

QPixmap splashPixmap() {
    return render(QStringLiteral(":/qln/splash.svg"), QSize(550, 300));
}

} // namespace qlnart
