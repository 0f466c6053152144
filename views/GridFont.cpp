#include "views/GridFont.h"

#include <QStringList>

QFont gridFont(const QString& face, double points) {
    QFont font;
    if (face.compare(QStringLiteral("Courier New"), Qt::CaseInsensitive) == 0)
        font.setFamilies({face, QStringLiteral("Liberation Mono"),
                          QStringLiteral("DejaVu Sans Mono"), QStringLiteral("Noto Mono"),
                          QStringLiteral("monospace")});
    else
        font.setFamily(face);
    font.setStyleHint(QFont::TypeWriter);
    font.setPointSizeF(points);
    return font;
}
