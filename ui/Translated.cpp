#include "ui/Translated.h"

#include "files/TextCrossing.h"

#include <QCoreApplication>

using zvm::files::ToQString;
using zvm::files::ToStd;

QString Translated(const std::string& text) {
    // The translation tools name each text's context after the namespace it stands in.
    for (const char* context : {"zvm", "zvm::process", "zvm::media", "zvm::media::MediaWorker", "zvm::media::wire",
                                "zvm::queue", "zvm::settings"}) {
        QString translated = QCoreApplication::translate(context, text.c_str());
        if (ToStd(translated) != text) {
            return translated;
        }
    }
    return ToQString(text);
}

QString Translated(const zvm::Status& status) {
    const QString message = Translated(status.message());
    return message.contains(QLatin1String("%1")) ? message.arg(zvm::files::PathToQString(status.detail()))
                                                 : message;
}
