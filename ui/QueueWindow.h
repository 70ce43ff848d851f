#pragma once

#include <QWidget>

#include "core/ConversionRequest.h"

#include <functional>
#include <optional>
#include <vector>

class Platform;
class QAction;
class QActionGroup;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QSortFilterProxyModel;
class QTableView;
class QueueModel;
class QueueRunner;
namespace zvm::queue {
struct QueueSummary;
}

// The queue as a table, with its controls. It only shows the queue and passes the user's commands on:
// the runner does the work, and keeps running while this window is closed.
class QueueWindow : public QWidget {
    Q_OBJECT

public:
    QueueWindow(QueueRunner& runner, Platform& platform, QWidget* parent = nullptr);

    void start();
    QString summaryText() const;
    // Empty while the queue is kept; otherwise why it could not be.
    QString storeProblemText() const;
    QTableView* table() const { return table_; }

private:
    void buildLayout();
    QPushButton* addButton(const QString& caption, const char* name, void (QueueWindow::*handler)());
    QPushButton* optionsButton();
    // What stands beside the table: the title, the summary, the task bar, the details.
    void refresh();
    void showDetails();
    void showStoreProblem();
    void showOnTaskbar(std::optional<double> fraction);
    // The selection is kept by the items' ids, as the model's rows change under it.
    void keepSelection();
    void restoreSelection();
    void sortingChanged();
    void finishedAll(const zvm::queue::QueueSummary& summary);
    int selectedId() const;
    void removeSelected();
    void moveUp();
    void moveDown();
    void pause();
    void stop();
    void clearFinished();
    void openOutputFolder();
    // Asks for the size the selected video's output should reach (0: its bitrates as given).
    void askFileSize();
    // The subtitles burned into the chosen videos: a menu of None, Automatic, a file and their size.
    QMenu* subtitlesMenu();
    void setSubtitles(const std::function<void(zvm::SubtitleChoice&)>& change);
    void pickSubtitles();
    void askSubtitleSize();
    // The chosen video's quality, crop and sound stream, as the main window's Options menu offers
    // them; each shown as the selected video has it.
    void addChoices();
    void showChoices();
    void listSoundStreams();
    std::vector<int> selectedIds() const;

    QueueRunner& runner_;
    Platform& platform_;
    QueueModel* model_ = nullptr;
    QSortFilterProxyModel* sorted_ = nullptr; // the queue's order until the user sorts by a column
    QTableView* table_ = nullptr;
    QPlainTextEdit* details_ = nullptr;
    QLabel* summary_ = nullptr;
    QLabel* storeProblem_ = nullptr;
    QAction* bestQuality_ = nullptr;
    QAction* cropBars_ = nullptr;
    QMenu* soundStream_ = nullptr;
    QActionGroup* soundStreams_ = nullptr;
    std::vector<int> kept_; // the selected items' ids while the model is reset
    std::optional<int> taskbarSteps_; // thousandths last shown on the task bar; none while hidden
};
