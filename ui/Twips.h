#pragma once

#include <QRect>
#include <QWidget>

// The layout is designed in twips; 15 twips make one pixel at 96 dpi, and Qt scales logical
// pixels for other densities.
constexpr int TwipsToPixels(int twips) {
    return (twips + 7) / 15;
}

inline QRect TwipsRect(int left, int top, int width, int height) {
    return {TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width), TwipsToPixels(height)};
}

// Names a widget (tests and accessibility tools find it by name) and places it at a twips rectangle.
template <class W> W* Place(W* widget, const char* name, int left, int top, int width, int height) {
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(TwipsRect(left, top, width, height));
    return widget;
}
