#include "views/PlanText.h"

#include "parse/Utf8Text.h"

namespace plantext {

QString toDisplay(const std::string& bytes) {
    if (utf8text::isValidUtf8(bytes))
        return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

std::string fromDisplay(const QString& text) {
    return text.toUtf8().toStdString();
}

} // namespace plantext
