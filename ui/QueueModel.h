#pragma once

#include <QAbstractTableModel>
#include <QHash>
#include <QPixmap>

#include <vector>

class QueueRunner;
namespace zvm::queue {
struct QueueItem;
}

// The queue as a table model: one row per item, in the queue's order. A change of one item (a
// progress line, a small picture drawn) updates that row alone; a change of the queue's rows (added,
// removed, moved) is told as an insertion when rows were only added, else as a reset, after which
// views find their selection again by the items' ids (IdRole).
class QueueModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { Source, Size, Target, Output, State, Progress, Time, ColumnCount };
    enum Role {
        IdRole = Qt::UserRole,
        FractionRole, // a progress cell's fraction, 0 to 1, once the item has begun; none before
        SortRole,     // what a column sorts by: numbers where the text holds one
    };

    explicit QueueModel(QueueRunner& runner, QObject* parent = nullptr);

    // The item's state in words, with its reason; how much of it is done, 0 to 1.
    static QString StateText(const zvm::queue::QueueItem& item);
    static double Fraction(const zvm::queue::QueueItem& item);
    // Seconds as the queue shows them, "1:05".
    static QString Clock(double seconds);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // A size ("640x480") or an output name mended by the user; a size that cannot be read is refused
    // with sizeRefused, and the cell keeps the item's own.
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

signals:
    void sizeRefused();

private:
    void queueChanged();
    void itemChanged(int id);
    QVariant display(int row, int column) const;
    QVariant picture(int id) const;

    QueueRunner& runner_;
    std::vector<int> ids_; // the rows' items, as the views last learnt them
    mutable QHash<int, QPixmap> pictures_; // each item's small picture, decoded once
};
