#include "ui/Manual.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

QStringList ManualFolders() {
    return {QDir::cleanPath(
                QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral(ZVM_INSTALLED_MANUAL))),
            QStringLiteral(ZVM_BUILT_MANUAL)};
}

// The languages are tried as the window's translations are, in the order of the locale's user
// interface languages, so the manual speaks the window's language.
QString ManualPage(const QStringList& folders, const QLocale& locale) {
    static const QRegularExpression kLanguageCode(QStringLiteral("^[a-z]{2,3}$"));
    QStringList languages;
    for (const QString& name : locale.uiLanguages()) {
        const QString language =
            name.section(QLatin1Char('-'), 0, 0).section(QLatin1Char('_'), 0, 0).toLower();
        if (kLanguageCode.match(language).hasMatch()) { // a name from the environment never leaves the folder
            languages << language;
        }
    }
    languages << QStringLiteral("en");
    for (const QString& folder : folders) {
        for (const QString& language : languages) {
            const QFileInfo page(QDir(folder).filePath(language + QStringLiteral("/index.html")));
            if (page.isFile()) {
                return page.absoluteFilePath();
            }
        }
    }
    return {};
}
