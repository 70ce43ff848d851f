#pragma once

#include <QFileDialog>

#include <functional>

// The open-file dialog of the window's pickers. A pattern typed into its file-name field filters the
// list, as in every file dialog, and is never the answer; a picker for a program accepts only an
// existing, executable regular file, and says why it refuses anything else.
class PickerDialog : public QFileDialog {
    Q_OBJECT

public:
    PickerDialog(QWidget* parent, const QString& title, bool mustBeProgram);

    // How a refusal reaches the user: a message box by default; tests record it instead.
    std::function<void(const QString&)> complain;

    void accept() override;

    // Whether the text is a pattern rather than a name: it holds a wildcard.
    static bool IsPattern(const QString& text);
    // The filters of a picker for subtitles to burn in: the kinds the subtitle filter reads, in
    // either case, then all files.
    static QStringList SubtitleFilters();

private:
    bool mustBeProgram_;
};
