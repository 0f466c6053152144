#include "app/CFileDialogChooser.h"

#include <QFileDialog>
#include <QRegularExpression>

namespace {

// "PNG image (*.png)" gives "png".
QString suffixOf(const QString& nameFilter) {
    return QRegularExpression(QStringLiteral("\\*\\.(\\w+)")).match(nameFilter).captured(1);
}

} // namespace

QString CFileDialogChooser::chooseFile(const Question& question) {
    QFileDialog dialog{m_parent, question.title, question.directory, question.filters};
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setAcceptMode(question.saving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    const QString first = question.chosenFilter && !question.chosenFilter->isEmpty()
                              ? *question.chosenFilter
                              : question.filters.section(QStringLiteral(";;"), 0, 0);
    dialog.selectNameFilter(first);
    dialog.setDefaultSuffix(suffixOf(first));
    QObject::connect(
        &dialog, &QFileDialog::filterSelected, &dialog,
        [&dialog](const QString& chosen) { dialog.setDefaultSuffix(suffixOf(chosen)); });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    if (question.chosenFilter)
        *question.chosenFilter = dialog.selectedNameFilter();
    return dialog.selectedFiles().constFirst();
}
