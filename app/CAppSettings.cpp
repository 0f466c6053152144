#include "app/CAppSettings.h"

#include <QSettings>

namespace {

QString key(const QString& name) {
    return QStringLiteral("datahrpl/") + name;
}

} // namespace

int CAppSettings::readInt(const QString& name, int fallback) {
    bool ok = false;
    const int value = QSettings("Tarnwick Software", "qln").value(key(name)).toString().toInt(&ok);
    return ok ? value : fallback;
}

QString CAppSettings::readText(const QString& name, const QString& fallback) {
    return QSettings("Tarnwick Software", "qln").value(key(name), fallback).toString();
}

void CAppSettings::write(const QString& name, int value) {
    QSettings("Tarnwick Software", "qln").setValue(key(name), QString::number(value));
}

void CAppSettings::write(const QString& name, const QString& value) {
    QSettings("Tarnwick Software", "qln").setValue(key(name), value);
}

void CAppSettings::remove(const QString& name) {
    QSettings("Tarnwick Software", "qln").remove(key(name));
}
