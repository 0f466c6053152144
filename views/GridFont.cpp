#include "views/GridFont.h"

#include <QHash>
#include <QStringList>

QFont gridFont(const QString& face, double points) {
    // Every painted cell asks for its font: resolve each face and size once.
    static QHash<QPair<QString, double>, QFont> known;
    const QPair<QString, double> key{face, points};
    const auto found = known.constFind(key);
    if (found != known.constEnd())
        return *found;
    QFont font;
    if (face.compare(QStringLiteral("Courier New"), Qt::CaseInsensitive) == 0)
        font.setFamilies({face, QStringLiteral("Liberation Mono"),
                          QStringLiteral("DejaVu Sans Mono"), QStringLiteral("Noto Mono"),
                          QStringLiteral("monospace")});
    else
        font.setFamily(face);
    font.setStyleHint(QFont::TypeWriter);
    font.setPointSizeF(points);
    known.insert(key, font);
    return font;
}
