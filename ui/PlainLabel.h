#pragma once

#include <QLabel>

// A wrapping label for text that is never markup: file names and the encoder's words may hold "<".
// Named for tests, and for screen readers when accessibleName is given.
inline QLabel* PlainLabel(const char* name, QWidget* parent, const QString& accessibleName = {}) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    if (!accessibleName.isEmpty()) {
        label->setAccessibleName(accessibleName);
    }
    return label;
}
