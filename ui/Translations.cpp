#include "ui/Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

void InstallTranslations(QCoreApplication& app) {
    // English plurals first: the language's own file, installed after it, is asked before it.
    auto* plurals = new QTranslator(&app);
    if (plurals->load(QStringLiteral(":/i18n/zarnik-video-maker_en.qm"))) {
        QCoreApplication::installTranslator(plurals);
    }
    const QLocale locale;
    auto* own = new QTranslator(&app);
    if (own->load(locale, QStringLiteral("zarnik-video-maker"), QStringLiteral("_"),
                  QStringLiteral(":/i18n"))) {
        QCoreApplication::installTranslator(own);
    }
    auto* qt = new QTranslator(&app);
    if (qt->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(qt);
    }
}
