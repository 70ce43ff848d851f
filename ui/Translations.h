#pragma once

class QCoreApplication;

// Loads the program's texts, and Qt's own (dialog buttons), in the language of the system's locale.
// Under an English or C locale nothing is loaded: the designed English texts are the source.
void InstallTranslations(QCoreApplication& app);
