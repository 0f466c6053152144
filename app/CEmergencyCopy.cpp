#include "app/CEmergencyCopy.h"

#include "core/CMessageSink.h"
#include "model/CAtomicFile.h"
#include "model/CHrplDoc.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QUuid>

namespace {

// Each copy under a key of its own: programs ending together each add theirs.
QString groupKey() {
    return QStringLiteral("datahrpl/") + QString::fromLatin1(CEmergencyCopy::kSettingName);
}

QString told(const QString& plan, const QString& copy) {
    return QStringLiteral("When the last session ended, the plan could not be stored in ") +
           QDir::toNativeSeparators(plan) + QStringLiteral(". It was kept as ") +
           QDir::toNativeSeparators(copy) +
           QStringLiteral(". Open it with \"File/Open\" and store it with \"File/Save As\".");
}

} // namespace

QStringList CEmergencyCopy::folders() {
    return {QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                QStringLiteral("/Quillon"),
            QStandardPaths::writableLocation(QStandardPaths::HomeLocation),
            QStandardPaths::writableLocation(QStandardPaths::TempLocation)};
}

QString CEmergencyCopy::writeIn(const CHrplDoc& document, const QString& folder,
                                const QString& name) {
    if (folder.isEmpty() || !QDir().mkpath(folder))
        return {};
    for (int n = 1; n < 1000; ++n) {
        const QString copy = folder + QLatin1Char('/') + name +
                             (n > 1 ? QLatin1Char('-') + QString::number(n) : QString()) +
                             QStringLiteral(".qln");
        if (document.writeNewCopy(copy.toStdString()))
            return copy;
        if (!CAtomicFile::lastWriteFoundName())
            return {}; // this folder takes no file: the next one may
    }
    return {};
}

QString CEmergencyCopy::keep(const CHrplDoc& document, const QString& planPath) {
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    // A name that a folder cannot hold is still a name the user knows the plan by: only its
    // separators go.
    QString base = QFileInfo(planPath).completeBaseName();
    base.replace(QLatin1Char('/'), QLatin1Char('_'));
    for (const QString& folder : folders()) {
        const QString copy = writeIn(document, folder, base + QLatin1Char('-') + stamp);
        if (!copy.isEmpty()) {
            remember(planPath, copy);
            return copy;
        }
    }
    return {};
}

void CEmergencyCopy::remember(const QString& planPath, const QString& copy) {
    QSettings settings{QStringLiteral("Tarnwick Software"), QStringLiteral("qln")};
    settings.setValue(groupKey() + QLatin1Char('/') + QUuid::createUuid().toString(QUuid::Id128),
                      QStringList{planPath, copy});
}

void CEmergencyCopy::reportKept(CMessageSink& messages) {
    QSettings settings{QStringLiteral("Tarnwick Software"), QStringLiteral("qln")};
    QStringList texts;
    settings.beginGroup(groupKey());
    for (const QString& key : settings.childKeys()) {
        const QStringList paths = settings.value(key).toStringList();
        if (paths.size() == 2 && QFileInfo::exists(paths[1]))
            texts << told(paths[0], paths[1]);
        settings.remove(key); // one by one: a copy remembered meanwhile stays for the next start
    }
    const bool others = !settings.childKeys().isEmpty();
    settings.endGroup();
    // A copy remembered by an earlier version: the plan's path, a line end, the copy's path.
    const QString earlier = settings.value(groupKey()).toString();
    const int split = earlier.lastIndexOf(QLatin1Char('\n'));
    if (split > 0 && QFileInfo::exists(earlier.mid(split + 1)))
        texts << told(earlier.left(split), earlier.mid(split + 1));
    if (!earlier.isEmpty() && !others)
        settings.remove(groupKey());
    if (!texts.isEmpty())
        messages.message(texts.join(QStringLiteral("\n\n")).toStdString());
}
