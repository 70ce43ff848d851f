#include "ui/QueueWindow.h"

#include "ui/QueueModel.h"

#include "core/ClockText.h"
#include "core/CommandLine.h"
#include "process/ShellText.h"
#include "core/Cut.h"
#include "core/FileSize.h"
#include "core/Generate.h"
#include "ui/PickerDialog.h"
#include "ui/PlainLabel.h"
#include "ui/Platform.h"
#include "core/Presets.h"
#include "ui/ProgramIcon.h"
#include "ui/SoundStreamMenu.h"
#include "queue/QueueRunner.h"
#include "files/TextCrossing.h"
#include "ui/Translated.h"

#include <QActionGroup>
#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>

namespace {
using zvm::files::PathToQString;
using zvm::files::ToQString;
using zvm::queue::ItemState;
using zvm::queue::QueueItem;

// Draws a progress cell as the style's own progress bar, with the cell's text on it; an item that has
// not begun shows its text alone.
class ProgressBarDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        const QVariant fraction = index.data(QueueModel::FractionRole);
        if (!fraction.isValid()) {
            QStyledItemDelegate::paint(painter, option, index);
            return;
        }
        QStyleOptionProgressBar bar;
        bar.rect = option.rect.adjusted(2, 2, -2, -2);
        bar.state = option.state | QStyle::State_Horizontal;
        bar.minimum = 0;
        bar.maximum = 1000;
        bar.progress = qRound(1000 * fraction.toDouble());
        bar.text = index.data(Qt::DisplayRole).toString();
        bar.textVisible = true;
        bar.textAlignment = Qt::AlignCenter;
        const QWidget* view = option.widget;
        QStyle* style = view != nullptr ? view->style() : QApplication::style();
        style->drawControl(QStyle::CE_ProgressBar, &bar, painter, view);
    }
};

// Files that do not fit their target are counted apart: they are not what the user asked for.
QString Summary(const zvm::queue::QueueSummary& s) {
    if (s.misfits > 0) {
        return QueueWindow::tr("%1 finished, %2 not fitting their target, %3 failed, %4 skipped")
            .arg(s.finished)
            .arg(s.misfits)
            .arg(s.failed)
            .arg(s.skipped);
    }
    return QueueWindow::tr("%1 finished, %2 failed, %3 skipped").arg(s.finished).arg(s.failed).arg(s.skipped);
}
} // namespace

QueueWindow::QueueWindow(QueueRunner& runner, Platform& platform, QWidget* parent)
    : QWidget(parent, Qt::Window), runner_(runner), platform_(platform) {
    setObjectName(QStringLiteral("QueueWindow"));
    setWindowIcon(ProgramIcon());
    buildLayout();
    connect(&runner_, &QueueRunner::changed, this, &QueueWindow::refresh);
    connect(&runner_, &QueueRunner::itemChanged, this, &QueueWindow::refresh);
    connect(&runner_, &QueueRunner::finishedAll, this, &QueueWindow::finishedAll);
    refresh();
}

QPushButton* QueueWindow::addButton(const QString& caption, const char* name,
                                    void (QueueWindow::*handler)()) {
    auto* button = new QPushButton(caption, this);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(true); // Enter presses the focused button
    connect(button, &QPushButton::clicked, this, handler);
    return button;
}

void QueueWindow::buildLayout() {
    model_ = new QueueModel(runner_, this);
    sorted_ = new QSortFilterProxyModel(this);
    sorted_->setSourceModel(model_);
    sorted_->setSortRole(QueueModel::SortRole);
    table_ = new QTableView(this);
    table_->setObjectName(QStringLiteral("items"));
    table_->setAccessibleName(tr("Videos in the queue"));
    table_->setModel(sorted_);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
    QHeaderView* header = table_->horizontalHeader();
    header->setSectionResizeMode(QueueModel::Output, QHeaderView::Stretch);
    // Unsorted, the rows stand in the queue's order; a third click on a column returns to it.
    header->setSortIndicatorClearable(true);
    header->setSortIndicator(-1, Qt::AscendingOrder);
    table_->setSortingEnabled(true);
    connect(header, &QHeaderView::sortIndicatorChanged, this, &QueueWindow::sortingChanged);
    table_->verticalHeader()->hide();
    table_->setItemDelegateForColumn(QueueModel::Progress, new ProgressBarDelegate(table_));
    // Room for a finished video's small picture, a 16:9 one at its full size.
    table_->setIconSize(QSize(QueueRunner::kThumbnailHeight * 16 / 9, QueueRunner::kThumbnailHeight));
    table_->verticalHeader()->setDefaultSectionSize(
        std::max(table_->verticalHeader()->defaultSectionSize(), QueueRunner::kThumbnailHeight + 4));
    connect(table_->selectionModel(), &QItemSelectionModel::selectionChanged, this, &QueueWindow::showDetails);
    connect(sorted_, &QAbstractItemModel::modelAboutToBeReset, this, &QueueWindow::keepSelection);
    connect(sorted_, &QAbstractItemModel::modelReset, this, &QueueWindow::restoreSelection);
    connect(model_, &QueueModel::sizeRefused, this, [this] {
        platform_.showMessage(this, tr("Enter the size as width x height, for example 640x480"), tr("Invalid Size!"));
    });
    auto* fileSize = new QAction(tr("Target &file size..."), table_);
    fileSize->setObjectName(QStringLiteral("fileSize"));
    connect(fileSize, &QAction::triggered, this, &QueueWindow::askFileSize);
    table_->addAction(fileSize);
    table_->addAction(subtitlesMenu()->menuAction());
    addChoices();
    table_->setContextMenuPolicy(Qt::ActionsContextMenu);

    details_ = new QPlainTextEdit(this);
    details_->setObjectName(QStringLiteral("details"));
    details_->setAccessibleName(tr("Details of the selected video"));
    details_->setReadOnly(true);
    details_->setMaximumHeight(140);
    summary_ = PlainLabel("summary", this);
    storeProblem_ = PlainLabel("storeProblem", this);
    storeProblem_->setStyleSheet(QStringLiteral("color: #b00020;")); // as the encoder window's failed check
    storeProblem_->hide();

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(addButton(tr("&Start"), "start", &QueueWindow::start));
    buttons->addWidget(addButton(tr("&Pause after current"), "pause", &QueueWindow::pause));
    buttons->addWidget(addButton(tr("S&top current"), "stop", &QueueWindow::stop));
    buttons->addWidget(addButton(tr("&Remove"), "remove", &QueueWindow::removeSelected));
    buttons->addWidget(addButton(tr("Move &up"), "up", &QueueWindow::moveUp));
    buttons->addWidget(addButton(tr("Move do&wn"), "down", &QueueWindow::moveDown));
    buttons->addWidget(addButton(tr("C&lear finished"), "clear", &QueueWindow::clearFinished));
    buttons->addWidget(addButton(tr("&Open output folder"), "open", &QueueWindow::openOutputFolder));
    buttons->addWidget(optionsButton());
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(table_, 1);
    layout->addWidget(details_);
    layout->addWidget(summary_);
    layout->addWidget(storeProblem_);
    layout->addLayout(buttons);
    resize(980, 460);
}

QMenu* QueueWindow::subtitlesMenu() {
    auto* menu = new QMenu(tr("S&ubtitles"), table_);
    menu->setObjectName(QStringLiteral("subtitles"));
    auto* modes = new QActionGroup(menu); // the chosen video's choice is shown checked
    modes->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    const auto entry = [&](const QString& text, const char* name, auto handler) {
        QAction* action = menu->addAction(text);
        action->setObjectName(QString::fromLatin1(name));
        connect(action, &QAction::triggered, this, handler);
        return action;
    };
    const auto mode = [this](zvm::SubtitleMode chosen) {
        return [this, chosen] {
            setSubtitles([chosen](zvm::SubtitleChoice& s) {
                s.mode = chosen;
                s.file.clear();
            });
        };
    };
    const std::pair<QAction*, zvm::SubtitleMode> shown[] = {
        {entry(tr("&Automatic (a file beside the video or its first subtitle stream)"), "subtitlesAuto",
               mode(zvm::SubtitleMode::Auto)),
         zvm::SubtitleMode::Auto},
        {entry(tr("&None"), "subtitlesNone", mode(zvm::SubtitleMode::None)), zvm::SubtitleMode::None},
        {entry(tr("&File..."), "subtitlesFile", [this] { pickSubtitles(); }), zvm::SubtitleMode::File}};
    entry(tr("Text &size..."), "subtitlesSize", [this] { askSubtitleSize(); });
    for (const auto& [action, _] : shown) {
        action->setCheckable(true);
        modes->addAction(action);
    }
    connect(menu, &QMenu::aboutToShow, this, [this, shown] {
        const QueueItem* item = runner_.queue().find(selectedId());
        for (const auto& [action, kind] : shown) {
            action->setChecked(item != nullptr && item->request.subtitles.mode == kind);
        }
    });
    return menu;
}

void QueueWindow::addChoices() {
    // The entries say what the main window's say, in its words.
    bestQuality_ = new QAction(QCoreApplication::translate("frmZCM", "&Best quality (slower)"), table_);
    bestQuality_->setObjectName(QStringLiteral("bestQuality"));
    bestQuality_->setCheckable(true);
    connect(bestQuality_, &QAction::triggered, this, [this](bool best) { runner_.setBestQuality(selectedId(), best); });
    cropBars_ = new QAction(QCoreApplication::translate("frmZCM", "&Crop black bars automatically"), table_);
    cropBars_->setObjectName(QStringLiteral("cropBars"));
    cropBars_->setCheckable(true);
    connect(cropBars_, &QAction::triggered, this, [this](bool crop) {
        runner_.setCrop(selectedId(), crop ? zvm::CropChoice{zvm::CropMode::Auto} : zvm::CropChoice{});
    });
    soundStream_ = new QMenu(QCoreApplication::translate("frmZCM", "&Sound stream"), table_);
    soundStream_->setObjectName(QStringLiteral("soundStream"));
    soundStreams_ = new QActionGroup(soundStream_);
    connect(soundStream_, &QMenu::aboutToShow, this, &QueueWindow::listSoundStreams);
    connect(soundStreams_, &QActionGroup::triggered, this, [this](const QAction* chosen) {
        zvm::AudioChoice audio;
        audio.track = chosen->data().toInt();
        // Its language, where the file names one, is what the after-check holds the output to.
        const QueueItem* item = runner_.queue().find(selectedId());
        if (item != nullptr && item->read && audio.track >= 0 && audio.track < std::ssize(item->read->audioStreams)) {
            audio.language = item->read->audioStreams[static_cast<std::size_t>(audio.track)].language;
        }
        runner_.setAudio(selectedId(), audio);
    });
    table_->addAction(bestQuality_);
    table_->addAction(cropBars_);
    table_->addAction(soundStream_->menuAction());
    showChoices();
}

// Best quality is the designed rows' opt-in, and like a crop and a stream needs the modern command.
void QueueWindow::showChoices() {
    const QueueItem* item = runner_.queue().find(selectedId());
    const zvm::TargetPreset* target = item != nullptr ? zvm::FindPreset(item->request.preset) : nullptr;
    const bool later = target != nullptr && zvm::NeedsModernForm(*target);
    const bool open = item != nullptr && item->state != ItemState::Running &&
                      (later || item->style == zvm::CommandStyle::Modern);
    bestQuality_->setEnabled(open && target != nullptr && target->designed);
    bestQuality_->setChecked(item != nullptr && item->request.bestQuality);
    cropBars_->setEnabled(open);
    cropBars_->setChecked(item != nullptr && item->request.crop.mode != zvm::CropMode::None);
    soundStream_->setEnabled(open);
    if (soundStream_->isVisible()) { // a read asked for as it opened has answered
        listSoundStreams();
    }
}

// The streams of the last read; a restored video is read as the menu opens.
void QueueWindow::listSoundStreams() {
    const QueueItem* item = runner_.queue().find(selectedId());
    if (item == nullptr) {
        return;
    }
    if (!item->read) {
        runner_.readStreams(item->id);
    }
    const auto streams = item->read ? item->read->audioStreams : std::vector<zvm::AudioStreamFacts>();
    FillSoundStreamMenu(soundStream_, soundStreams_, streams, item->request.audio.track);
    if (!item->read) {
        soundStream_->addAction(tr("Reading the video's sound streams..."))->setEnabled(false);
    }
}

// How many videos convert at once, as a menu of choices on a button beside the others.
QPushButton* QueueWindow::optionsButton() {
    auto* button = new QPushButton(tr("Optio&ns"), this);
    button->setObjectName(QStringLiteral("options"));
    button->setAutoDefault(true);
    auto* menu = new QMenu(button);
    menu->addSection(tr("Videos converted at once"));
    auto* choices = new QActionGroup(menu);
    for (int count = 0; count <= QueueRunner::kMaxParallel; ++count) {
        const QString text = count == 0   ? tr("&Automatic (%n at once)", "", QueueRunner::AutomaticParallel())
                             : count == 1 ? tr("&1, one after another")
                                          : QStringLiteral("&%1").arg(count);
        QAction* choice = menu->addAction(text);
        choice->setObjectName(QStringLiteral("parallel%1").arg(count));
        choice->setCheckable(true);
        choice->setChecked(count == runner_.parallelSetting());
        choices->addAction(choice);
        connect(choice, &QAction::triggered, this, [this, count] { runner_.setParallel(count); });
    }
    button->setMenu(menu);
    return button;
}

void QueueWindow::refresh() {
    const auto& items = runner_.queue().items();
    const zvm::queue::QueueSummary s = runner_.queue().summary();
    const int total = static_cast<int>(items.size());
    double done = 0;
    for (const QueueItem& item : items) {
        done += QueueModel::Fraction(item);
    }
    const auto left = runner_.queue().totalSecondsLeft();
    const int percent = total == 0 ? 0 : qRound(100 * done / total);
    QString state = runner_.isRunning()
                        ? tr("running, %1 of %2 done").arg(s.finished + s.misfits + s.failed).arg(total)
                        : tr("not running");
    if (runner_.isRunning() && left) {
        state += tr(", %1 left").arg(QueueModel::Clock(*left));
    }
    // While it runs, the whole queue's progress leads, where a task bar's short entry still shows it.
    const QString title = tr("Queue - %1").arg(state);
    setWindowTitle(runner_.isRunning() ? tr("%1% - %2").arg(QString::number(percent), title) : title);
    showOnTaskbar(runner_.isRunning() && total > 0 ? std::optional<double>(done / total) : std::nullopt);
    summary_->setText(tr("%n video(s): %1", "", total).arg(Summary(s)));
    showStoreProblem();
    showDetails();
}

// Only a change the bar can show is sent: an encoder reports its time several times a second.
void QueueWindow::showOnTaskbar(std::optional<double> fraction) {
    const std::optional<int> steps =
        fraction ? std::optional<int>(qRound(1000 * *fraction)) : std::nullopt;
    if (steps != taskbarSteps_) {
        taskbarSteps_ = steps;
        platform_.showTaskbarProgress(fraction);
    }
}

// One line while the queue cannot be kept, however many changes fail to be kept; gone once one is.
void QueueWindow::showStoreProblem() {
    const zvm::Status& kept = runner_.storeStatus();
    const QString text = kept.ok() ? QString() : tr("The queue could not be saved: %1").arg(Translated(kept));
    if (storeProblem_->text() != text) {
        storeProblem_->setText(text);
        storeProblem_->setVisible(!text.isEmpty());
    }
}

// Before a reset of the rows, which clears the selection: the selected items, to select again after it.
void QueueWindow::keepSelection() {
    kept_ = selectedIds();
}

void QueueWindow::restoreSelection() {
    for (int row = 0; row < sorted_->rowCount() && !kept_.empty(); ++row) {
        const QModelIndex at = sorted_->index(row, 0);
        if (std::find(kept_.begin(), kept_.end(), at.data(QueueModel::IdRole).toInt()) != kept_.end()) {
            table_->selectionModel()->select(at, QItemSelectionModel::Select | QItemSelectionModel::Rows);
        }
    }
    kept_.clear();
}

// Moving up and down is in the queue's order, which a sorted table does not show.
void QueueWindow::sortingChanged() {
    const bool queueOrder = table_->horizontalHeader()->sortIndicatorSection() < 0;
    for (const char* name : {"up", "down"}) {
        findChild<QPushButton*>(QString::fromLatin1(name))->setEnabled(queueOrder);
    }
}

std::vector<int> QueueWindow::selectedIds() const {
    std::vector<int> ids;
    for (const QModelIndex& row : table_->selectionModel()->selectedRows()) {
        ids.push_back(row.data(QueueModel::IdRole).toInt());
    }
    return ids;
}

int QueueWindow::selectedId() const {
    const std::vector<int> ids = selectedIds();
    return ids.empty() ? 0 : ids.front();
}

void QueueWindow::showDetails() {
    const zvm::queue::QueueItem* item = runner_.queue().find(selectedId());
    showChoices();
    if (item == nullptr) {
        details_->clear();
        return;
    }
    QStringList lines{PathToQString(item->request.sourceVideo) + QStringLiteral("  ->  ") +
                          PathToQString(item->request.outputPath),
                      QueueModel::StateText(*item)};
    if (!item->command.empty()) { // as a shell would run it: the queue starts it without one
        lines << tr("Command: %1").arg(PathToQString(zvm::process::ShellLine(item->command, item->request.encoderPath)));
    }
    if (zvm::HasCut(item->request)) {
        const auto& r = item->request;
        lines << tr("Cut from %1 to %2")
                     .arg(ToQString(zvm::CutClockText(r.cutStart.value_or(0))),
                          r.cutEnd ? ToQString(zvm::CutClockText(*r.cutEnd)) : tr("the end"));
    }
    const zvm::SubtitleChoice& burned = item->burned;
    const auto fit = zvm::FitRequest(item->request);
    const int textSize = fit ? zvm::SubtitleFontSize(burned, *fit) : burned.size;
    if (burned.mode == zvm::SubtitleMode::File) {
        lines << tr("Subtitles burned in: %1, text %2 pixels high").arg(PathToQString(burned.file)).arg(textSize);
    } else if (burned.mode == zvm::SubtitleMode::Stream) {
        lines << tr("Subtitles burned in: subtitle stream %1 of the video, text %2 pixels high")
                     .arg(burned.stream + 1)
                     .arg(textSize);
    } else if (item->request.subtitles.mode == zvm::SubtitleMode::Auto) {
        lines << (item->state == ItemState::Detecting
                      ? tr("Subtitles: automatic, looked for once the video is read")
                      : tr("Subtitles: automatic, but there is none beside the video or in it"));
    }
    const zvm::ConversionRequest& r = item->request;
    if (r.crop.mode == zvm::CropMode::Rect && fit) {
        lines << tr("Cropped to %1x%2 at %3,%4 before the fit: the picture %5x%6")
                     .arg(r.crop.width)
                     .arg(r.crop.height)
                     .arg(r.crop.x)
                     .arg(r.crop.y)
                     .arg(fit->newWidth)
                     .arg(fit->newHeight);
    } else if (r.crop.mode == zvm::CropMode::Auto) {
        const zvm::RunFacts* read = item->read && item->read->pictureLooked ? &*item->read : nullptr;
        if (read == nullptr) {
            lines << tr("Black bars: cropped where the video's frames agree on them");
        } else if (read->foundCrop.mode == zvm::CropMode::Rect) {
            zvm::ConversionRequest cropped = r;
            cropped.crop = read->foundCrop;
            const auto after = zvm::FitRequest(cropped);
            lines << tr("Black bars found and cropped: the picture %1x%2 fits as %3x%4")
                         .arg(read->foundCrop.width)
                         .arg(read->foundCrop.height)
                         .arg(after ? after->newWidth : 0)
                         .arg(after ? after->newHeight : 0);
        } else {
            lines << tr("No black bars cropped: %1").arg(QString::fromStdString(read->cropWhy));
        }
    }
    if (r.audio.track >= 0) {
        lines << (r.audio.language.empty() ? tr("Sound stream %1").arg(r.audio.track + 1)
                                           : tr("Sound stream %1, in %2").arg(r.audio.track + 1).arg(ToQString(r.audio.language)));
    }
    if (r.deinterlace == zvm::DeinterlaceMode::On) {
        lines << tr("Deinterlaced");
    }
    if (item->request.fileSizeMB) {
        lines << tr("File size asked: %1 MB, in two passes").arg(*item->request.fileSizeMB);
    }
    if (!item->check.empty()) {
        lines << ToQString(item->check);
    }
    if (!item->log.empty()) {
        lines << QString() << ToQString(item->log);
    }
    const QString text = lines.join(QLatin1Char('\n'));
    if (details_->toPlainText() != text) {
        details_->setPlainText(text);
    }
}

// The video's bitrate then follows from the size, its duration and its sound; a size too small for a
// watchable picture leaves it needing attention, with the smallest that works.
void QueueWindow::askFileSize() {
    const QueueItem* item = runner_.queue().find(selectedId());
    if (item == nullptr || item->state == ItemState::Running) {
        return;
    }
    bool ok = false;
    const double megabytes =
        QInputDialog::getDouble(this, tr("Target file size"), tr("Size of the output in MB (0: keep the bitrates):"),
                                item->request.fileSizeMB.value_or(0), 0, zvm::kLargestFileSizeMB, 1, &ok);
    if (ok) {
        runner_.setFileSize(item->id, megabytes > 0 ? std::optional(megabytes) : std::nullopt);
    }
}

void QueueWindow::setSubtitles(const std::function<void(zvm::SubtitleChoice&)>& change) {
    for (const int id : selectedIds()) {
        if (const QueueItem* item = runner_.queue().find(id); item != nullptr && item->state != ItemState::Running) {
            zvm::SubtitleChoice choice = item->request.subtitles;
            change(choice);
            runner_.setSubtitles(id, choice);
        }
    }
}

void QueueWindow::pickSubtitles() {
    const QueueItem* item = runner_.queue().find(selectedId());
    if (item == nullptr) {
        return;
    }
    const QString folder = QFileInfo(PathToQString(item->request.sourceVideo)).absolutePath();
    const auto picked = platform_.openFileName(this, {tr("Subtitles to burn in"), {}, PickerDialog::SubtitleFilters(), folder});
    if (picked) {
        setSubtitles([file = zvm::files::PathToStd(*picked)](zvm::SubtitleChoice& s) {
            s.mode = zvm::SubtitleMode::File;
            s.file = file;
        });
    }
}

// 0 (or nothing) lets the text follow the target's height.
void QueueWindow::askSubtitleSize() {
    const QueueItem* item = runner_.queue().find(selectedId());
    if (item == nullptr) {
        return;
    }
    bool ok = false;
    const int size = QInputDialog::getInt(this, tr("Subtitle text size"),
                                          tr("Height of the subtitles' text in pixels of the target "
                                             "(0: chosen for the target's height):"),
                                          item->request.subtitles.size, 0, zvm::kLargestSubtitleSize, 1, &ok);
    if (ok) {
        setSubtitles([size](zvm::SubtitleChoice& s) { s.size = size; });
    }
}

// Outputs that exist already are replaced only when the user says so, once for all of them; Enter
// and Esc start nothing.
void QueueWindow::start() {
    const std::vector<int> existing = runner_.existingOutputs();
    if (!existing.empty()) {
        enum Answer { Replace, Skip, Cancel };
        const int choice = platform_.askChoice(
            this,
            tr("%n output file(s) exist already. Replace them, or skip those videos?", "",
               static_cast<int>(existing.size())),
            tr("Start the queue"), {tr("&Replace them"), tr("&Skip those videos"), tr("&Cancel")}, Cancel);
        if (choice == Cancel) {
            return;
        }
        if (choice == Skip) {
            runner_.skip(existing);
        }
    }
    runner_.start();
}

void QueueWindow::finishedAll(const zvm::queue::QueueSummary& summary) {
    const QString text = tr("The queue is done: %1.").arg(Summary(summary));
    summary_->setText(text);
    setWindowTitle(tr("Queue - done: %1").arg(Summary(summary)));
    showOnTaskbar(std::nullopt);
    if (!isActiveWindow()) {
        platform_.notify(QStringLiteral("Zarnik Video Maker"), text);
    }
}

void QueueWindow::removeSelected() {
    if (const int id = selectedId()) {
        runner_.remove(id);
    }
}

void QueueWindow::moveUp() {
    runner_.move(selectedId(), -1);
}

void QueueWindow::moveDown() {
    runner_.move(selectedId(), 1);
}

void QueueWindow::pause() {
    runner_.pauseAfterCurrent();
}

// The selected video when it runs; otherwise the only one running. With several running and none of
// them selected, which one is meant is asked for.
void QueueWindow::stop() {
    if (runner_.stop(selectedId()) || runner_.stopCurrent()) {
        return;
    }
    platform_.showMessage(this, tr("Several videos are converting. Select the one to stop."), tr("Stop"));
}

void QueueWindow::clearFinished() {
    runner_.clearFinished();
}

void QueueWindow::openOutputFolder() {
    const zvm::queue::QueueItem* item = runner_.queue().find(selectedId());
    const auto& items = runner_.queue().items();
    if (item == nullptr && !items.empty()) {
        item = &items.front();
    }
    if (item != nullptr) {
        OpenOrSay(platform_, this,
                  QUrl::fromLocalFile(QFileInfo(PathToQString(item->request.outputPath)).absolutePath()),
                  tr("Output folder"));
    }
}

QString QueueWindow::summaryText() const {
    return summary_->text();
}

QString QueueWindow::storeProblemText() const {
    return storeProblem_->text();
}
