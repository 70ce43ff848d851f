#include "Translated.h"

#include <QCoreApplication>

QString Translated(const std::string& text) {
    // The translation tools name each text's context after the namespace it stands in.
    for (const char* context : {"zvm", "zvm::process", "zvm::media", "zvm::queue", "zvm::settings"}) {
        QString translated = QCoreApplication::translate(context, text.c_str());
        if (translated.toStdString() != text) {
            return translated;
        }
    }
    return QString::fromStdString(text);
}

QString Translated(const zvm::Status& status) {
    const QString message = Translated(status.message());
    return message.contains(QLatin1String("%1")) ? message.arg(QString::fromLocal8Bit(status.detail()))
                                                 : message;
}
