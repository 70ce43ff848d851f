#include "ui/PickerDialog.h"

#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>

PickerDialog::PickerDialog(QWidget* parent, const QString& title, bool mustBeProgram)
    : QFileDialog(parent, title), mustBeProgram_(mustBeProgram) {
    // Qt's own dialog, so that these rules hold on every desktop.
    setOption(QFileDialog::DontUseNativeDialog);
    complain = [this](const QString& text) {
        QMessageBox box(QMessageBox::Warning, windowTitle(), text, QMessageBox::Ok, this);
        box.setTextFormat(Qt::PlainText);
        box.exec();
    };
}

bool PickerDialog::IsPattern(const QString& text) {
    return text.contains(QLatin1Char('*')) || text.contains(QLatin1Char('?')) || text.contains(QLatin1Char('['));
}

void PickerDialog::accept() {
    auto* nameBox = findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    const QString typed = nameBox != nullptr ? nameBox->text().trimmed() : QString();
    if (IsPattern(typed)) {
        setNameFilter(typed);
        return;
    }
    const QStringList chosen = selectedFiles();
    if (mustBeProgram_ && !chosen.isEmpty()) {
        const QFileInfo program(chosen.constFirst());
        if (program.isDir()) {
            QFileDialog::accept(); // goes into the folder
            return;
        }
        if (!program.isFile() || !program.isExecutable()) {
            complain(tr("%1 is not a program that can be run. Choose the encoder program itself.")
                         .arg(QDir::toNativeSeparators(program.absoluteFilePath())));
            return;
        }
    }
    QFileDialog::accept();
}

QStringList PickerDialog::SubtitleFilters() {
    return {tr("Subtitles (*.srt *.ass *.ssa *.vtt *.SRT *.ASS *.SSA *.VTT)"), tr("All files (*)")};
}
