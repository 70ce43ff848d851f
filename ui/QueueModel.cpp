#include "ui/QueueModel.h"

#include "core/ClockText.h"
#include "core/Presets.h"
#include "files/TextCrossing.h"
#include "queue/QueueRunner.h"
#include "ui/QueueWindow.h"
#include "ui/Translated.h"

#include <QColor>
#include <QFileInfo>

#include <algorithm>

namespace {
using zvm::files::PathToQString;
using zvm::files::ToQString;
using zvm::queue::ItemState;
using zvm::queue::QueueItem;

// The reason in the user's language, with its detail in place.
QString Reason(const QueueItem& item) {
    QString reason = Translated(item.reason);
    reason = reason.contains(QLatin1String("%1")) ? reason.arg(Translated(item.detail)) : reason;
    return item.cause.empty() ? reason : QueueWindow::tr("%1: %2").arg(reason, Translated(item.cause));
}

bool Misfit(const QueueItem& item) {
    return item.state == ItemState::Finished && item.verdict == zvm::CheckVerdict::Differs;
}

bool Begun(const QueueItem& item) {
    return item.state == ItemState::Running || item.encoded > 0 || item.state == ItemState::Finished;
}
} // namespace

QueueModel::QueueModel(QueueRunner& runner, QObject* parent) : QAbstractTableModel(parent), runner_(runner) {
    connect(&runner_, &QueueRunner::changed, this, &QueueModel::queueChanged);
    connect(&runner_, &QueueRunner::itemChanged, this, &QueueModel::itemChanged);
    for (const QueueItem& item : runner_.queue().items()) {
        ids_.push_back(item.id);
    }
}

QString QueueModel::StateText(const QueueItem& item) {
    switch (item.state) {
    case ItemState::Detecting:
        return QueueWindow::tr("Detecting size");
    case ItemState::Waiting:
        return item.note.empty() ? QueueWindow::tr("Waiting")
                                 : QueueWindow::tr("Waiting: %1").arg(Translated(item.note));
    case ItemState::NeedsAttention:
        return QueueWindow::tr("Needs attention: %1").arg(Reason(item));
    case ItemState::Running:
        return QueueWindow::tr("Running");
    case ItemState::Finished:
        return item.verdict == zvm::CheckVerdict::Differs ? QueueWindow::tr("Finished, but does not fit")
                                                          : QueueWindow::tr("Finished");
    case ItemState::Failed:
        return QueueWindow::tr("Failed: %1").arg(Reason(item));
    case ItemState::Stopped:
        return QueueWindow::tr("Stopped");
    case ItemState::Skipped:
        return QueueWindow::tr("Skipped: %1").arg(Reason(item));
    }
    return {};
}

QString QueueModel::Clock(double seconds) {
    return QString::fromStdString(zvm::ClockText(seconds));
}

double QueueModel::Fraction(const QueueItem& item) {
    if (item.state == ItemState::Finished) {
        return 1.0;
    }
    const auto kept = zvm::queue::KeptDuration(item);
    return kept && *kept > 0 ? std::min(1.0, item.encoded / *kept) : 0.0;
}

int QueueModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(ids_.size());
}

int QueueModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

// The rows the views know are compared with the queue's: the same rows are told as changed data,
// added ones as inserted rows, anything else (a removal, a move) as a new table.
void QueueModel::queueChanged() {
    std::vector<int> now;
    now.reserve(runner_.queue().items().size());
    for (const QueueItem& item : runner_.queue().items()) {
        now.push_back(item.id);
    }
    const int known = static_cast<int>(ids_.size());
    if (now.size() >= ids_.size() && std::equal(ids_.begin(), ids_.end(), now.begin())) {
        if (now.size() > ids_.size()) {
            beginInsertRows({}, known, static_cast<int>(now.size()) - 1);
            ids_ = std::move(now);
            endInsertRows();
        }
        if (known > 0) {
            emit dataChanged(index(0, 0), index(known - 1, ColumnCount - 1));
        }
        return;
    }
    beginResetModel();
    ids_ = std::move(now);
    pictures_.clear(); // decoded again as rows are shown: a removed item's picture goes with it
    endResetModel();
}

void QueueModel::itemChanged(int id) {
    const auto at = runner_.queue().indexOf(id);
    if (!at || *at >= ids_.size() || ids_[*at] != id) {
        queueChanged(); // the rows moved meanwhile: told whole
        return;
    }
    const int row = static_cast<int>(*at);
    emit dataChanged(index(row, 0), index(row, ColumnCount - 1));
}

QVariant QueueModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) {
        return {};
    }
    const int id = ids_[std::size_t(index.row())];
    const QueueItem* item = runner_.queue().find(id);
    if (item == nullptr) {
        return {};
    }
    switch (role) {
    case IdRole:
        return id;
    case Qt::DisplayRole:
    case Qt::EditRole:
        return display(index.row(), index.column());
    case FractionRole:
        return index.column() == Progress && Begun(*item) ? QVariant(Fraction(*item)) : QVariant();
    case Qt::DecorationRole:
        return index.column() == Source ? picture(id) : QVariant();
    case Qt::ForegroundRole: // as the encoder window shows a failed check
        return index.column() == State && Misfit(*item) ? QVariant(QColor(0xb0, 0x00, 0x20)) : QVariant();
    case SortRole:
        if (index.column() == Size) {
            return ToQString(item->request.width).toDouble() * ToQString(item->request.height).toDouble();
        }
        if (index.column() == Progress) {
            return Fraction(*item);
        }
        if (index.column() == Time) {
            return runner_.queue().secondsLeft(id).value_or(item->runSeconds);
        }
        return display(index.row(), index.column());
    default:
        return {};
    }
}

QVariant QueueModel::display(int row, int column) const {
    const QueueItem& item = *runner_.queue().find(ids_[std::size_t(row)]);
    switch (column) {
    case Source:
        return QFileInfo(PathToQString(item.request.sourceVideo)).fileName();
    case Size:
        return item.request.width.empty()
                   ? QString()
                   : ToQString(item.request.width) + QStringLiteral("x") + ToQString(item.request.height);
    case Target: {
        const zvm::TargetPreset* preset = zvm::FindPreset(item.request.preset); // a kept item's row is checked
        return preset != nullptr ? ToQString(zvm::ScreenName(*preset)) : QString();
    }
    case Output:
        return PathToQString(item.request.outputPath);
    case State:
        return StateText(item);
    case Progress:
        return QStringLiteral("%1%").arg(qRound(100 * Fraction(item)));
    case Time: {
        const auto left = runner_.queue().secondsLeft(item.id);
        return left                  ? QueueWindow::tr("%1 left").arg(Clock(*left))
               : item.runSeconds > 0 ? Clock(item.runSeconds)
                                     : QString();
    }
    default:
        return {};
    }
}

// Decoded once per item: the picture comes as PNG from the media worker, drawn at its small size.
QVariant QueueModel::picture(int id) const {
    if (const auto found = pictures_.constFind(id); found != pictures_.constEnd()) {
        return *found;
    }
    const QByteArray png = runner_.thumbnail(id);
    QPixmap picture;
    if (png.isEmpty() || !picture.loadFromData(png, "PNG")) {
        return {};
    }
    pictures_.insert(id, picture);
    return picture;
}

QVariant QueueModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    const QString titles[ColumnCount] = {QueueWindow::tr("Source"), QueueWindow::tr("Size"),
                                         QueueWindow::tr("Target"), QueueWindow::tr("Output"),
                                         QueueWindow::tr("State"),  QueueWindow::tr("Progress"),
                                         QueueWindow::tr("Time")};
    return section >= 0 && section < ColumnCount ? QVariant(titles[section]) : QVariant();
}

Qt::ItemFlags QueueModel::flags(const QModelIndex& index) const {
    const Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    const QueueItem* item = index.isValid() ? runner_.queue().find(ids_[std::size_t(index.row())]) : nullptr;
    const bool mendable = item != nullptr && item->state != ItemState::Running &&
                          item->state != ItemState::Finished &&
                          (index.column() == Size || index.column() == Output);
    return mendable ? flags | Qt::ItemIsEditable : flags;
}

bool QueueModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable)) {
        return false;
    }
    const int id = ids_[std::size_t(index.row())];
    const QString text = value.toString().trimmed();
    if (index.column() == Output) {
        runner_.setOutput(id, text);
        return true;
    }
    const QStringList sides = text.split(QLatin1Char('x'));
    bool wide = false;
    bool high = false;
    const int width = sides.value(0).toInt(&wide);
    const int height = sides.value(1).toInt(&high);
    if (sides.size() != 2 || !wide || !high || width <= 0 || height <= 0) {
        emit sizeRefused();
        return false;
    }
    runner_.setSize(id, width, height);
    return true;
}
