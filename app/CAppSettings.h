#pragma once

#include <QString>

// The program's settings: the "datahrpl" section of the "Tarnwick Software"/"qln" store.
// Values read back from the file are strings; they are converted here.
class CAppSettings {
public:
    static int readInt(const QString& name, int fallback);
    static QString readText(const QString& name, const QString& fallback = QString());
    static void write(const QString& name, int value);
    static void write(const QString& name, const QString& value);
    static void remove(const QString& name);
};
