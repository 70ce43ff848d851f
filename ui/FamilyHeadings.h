#pragma once

#include <QAbstractItemDelegate>
#include <QPointer>

// The window's target list after its first eight rows: a heading above the first row of each
// family. The rows stay the table's rows (a request names its target by row), so the heading is
// drawn above its row rather than added as one; every other row is drawn by the list's own delegate.
class FamilyHeadings : public QAbstractItemDelegate {
    Q_OBJECT

public:
    FamilyHeadings(QAbstractItemDelegate* inner, QObject* parent);

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    // The heading above this row, or empty.
    static QString HeadingAbove(int row);

private:
    int band(const QStyleOptionViewItem& option) const;

    QPointer<QAbstractItemDelegate> inner_;
};
