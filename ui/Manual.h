#pragma once

#include <QLocale>
#include <QString>
#include <QStringList>

// Where the user manual is looked for, in this order: the copy installed with the program, found
// from the program's own folder (so that a package unpacked elsewhere finds its own copy), then the
// copy built in the build tree, for a program run from there.
QStringList ManualFolders();

// The manual's page in the first folder that holds one: "<folder>/<language>/index.html", in the
// first of the locale's languages that has a page there, else in English. Empty when no folder
// holds a page.
QString ManualPage(const QStringList& folders, const QLocale& locale);
