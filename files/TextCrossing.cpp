#include "TextCrossing.h"

#include <QFile>

namespace zvm::files {

QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string ToStd(const QString& text) {
    return text.toStdString();
}

QString PathToQString(std::string_view path) {
    return QFile::decodeName(QByteArray(path.data(), static_cast<qsizetype>(path.size())));
}

std::string PathToStd(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

} // namespace zvm::files
