#pragma once

#include <QRect>
#include <QWidget>

// The layout is designed in twips, 1/1440 inch: at the screen's logical DPI, so that the window
// keeps its proportions when the desktop raises its font size (15 twips a pixel at 96 DPI).
constexpr int TwipsToPixels(int twips, int dpi) {
    return (twips * dpi + 720) / 1440;
}

inline QRect TwipsRect(int dpi, int left, int top, int width, int height) {
    return {TwipsToPixels(left, dpi), TwipsToPixels(top, dpi), TwipsToPixels(width, dpi),
            TwipsToPixels(height, dpi)};
}

// Names a widget (tests and accessibility tools find it by name) and places it at a twips rectangle.
template <class W> W* Place(W* widget, const char* name, int left, int top, int width, int height) {
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(TwipsRect(widget->logicalDpiX(), left, top, width, height));
    return widget;
}
