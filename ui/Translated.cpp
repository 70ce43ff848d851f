#include "ui/Translated.h"

#include "core/Text.h"
#include "files/TextCrossing.h"

#include <QCoreApplication>

using zvm::files::ToQString;
using zvm::files::ToStd;

QString Translated(const std::string& text) {
    const QString translated = QCoreApplication::translate(ZVM_TEXT_CONTEXT, text.c_str());
    return ToStd(translated) != text ? translated : ToQString(text); // bytes that are not UTF-8 kept as such
}

QString Translated(const zvm::Status& status) {
    const QString message = Translated(status.message());
    return message.contains(QLatin1String("%1")) ? message.arg(zvm::files::PathToQString(status.detail()))
                                                 : message;
}
