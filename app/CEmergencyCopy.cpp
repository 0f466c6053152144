#include "app/CEmergencyCopy.h"

#include "app/CAppSettings.h"
#include "core/CMessageSink.h"
#include "model/CHrplDoc.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

QString CEmergencyCopy::keep(const CHrplDoc& document, const QString& planPath) {
    const QString folder =
        QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/Quillon";
    if (!QDir().mkpath(folder))
        return {};
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    const QString copy = folder + '/' + QFileInfo(planPath).completeBaseName() + '-' + stamp +
                         QStringLiteral(".qln");
    if (!document.writeCopy(copy.toStdString()))
        return {};
    CAppSettings::write(QString::fromLatin1(kSettingName), planPath + '\n' + copy);
    return copy;
}

void CEmergencyCopy::reportKept(CMessageSink& messages) {
    const QString kept = CAppSettings::readText(QString::fromLatin1(kSettingName));
    if (kept.isEmpty())
        return;
    CAppSettings::remove(QString::fromLatin1(kSettingName));
    const QStringList paths = kept.split('\n');
    if (paths.size() != 2 || !QFileInfo::exists(paths[1]))
        return;
    messages.message("When the last session ended, the plan could not be stored in " +
                     QDir::toNativeSeparators(paths[0]).toStdString() + ". It was kept as " +
                     QDir::toNativeSeparators(paths[1]).toStdString() +
                     ". Open it with \"File/Open\" and store it with \"File/Save As\".");
}
