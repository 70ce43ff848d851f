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
