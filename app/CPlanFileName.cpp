#include "app/CPlanFileName.h"

#include <QFileInfo>

CPlanFileName::Kind CPlanFileName::of(const QString& path) {
    const QString name = QFileInfo(path).fileName();
    if (path.isEmpty() || name.isEmpty())
        return Kind::NoName;
    const int dot = name.lastIndexOf(QLatin1Char('.'));
    const QString extension = dot < 0 ? QString() : name.mid(dot).toLower();
    if (extension != QStringLiteral(".qln") && extension != QStringLiteral(".bak"))
        return Kind::WrongExtension;
    if (dot == 0)
        return Kind::NoName;
    return extension == QStringLiteral(".bak") ? Kind::Backup : Kind::Plan;
}
