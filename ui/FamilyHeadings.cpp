#include "ui/FamilyHeadings.h"

#include "core/Presets.h"
#include "ui/Translated.h"

#include <QPainter>
#include <QStyleOptionViewItem>

namespace {
constexpr int kDesignedAndEarlier = 8; // rows 0 to 7 are listed as they always were
} // namespace

FamilyHeadings::FamilyHeadings(QAbstractItemDelegate* inner, QObject* parent)
    : QAbstractItemDelegate(parent), inner_(inner) {}

QString FamilyHeadings::HeadingAbove(int row) {
    const zvm::TargetPreset* target = zvm::FindPreset(row);
    if (row < kDesignedAndEarlier || target == nullptr || target->family.empty() || target->withdrawn) {
        return {};
    }
    const zvm::TargetPreset* before = zvm::FindPreset(row - 1);
    return before != nullptr && before->family == target->family ? QString()
                                                                 : Translated(std::string(target->family));
}

int FamilyHeadings::band(const QStyleOptionViewItem& option) const {
    return option.fontMetrics.height() + 6;
}

void FamilyHeadings::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
    const QString heading = HeadingAbove(index.row());
    QStyleOptionViewItem row = option;
    if (!heading.isEmpty()) {
        const QRect top(option.rect.left(), option.rect.top(), option.rect.width(), band(option));
        painter->save();
        painter->fillRect(top, option.palette.base());
        painter->setPen(option.palette.color(QPalette::Disabled, QPalette::Text));
        painter->drawLine(top.left(), top.top() + 1, top.right(), top.top() + 1);
        QFont bold = option.font;
        bold.setBold(true);
        painter->setFont(bold);
        painter->drawText(top.adjusted(4, 2, -4, 0), Qt::AlignLeft | Qt::AlignVCenter, heading);
        painter->restore();
        row.rect.setTop(top.bottom() + 1);
    }
    if (inner_ != nullptr) {
        inner_->paint(painter, row, index);
    }
}

QSize FamilyHeadings::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
    QSize size = inner_ != nullptr ? inner_->sizeHint(option, index) : QSize();
    if (!HeadingAbove(index.row()).isEmpty()) {
        size.rheight() += band(option);
    }
    return size;
}
