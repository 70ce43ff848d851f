#pragma once

#include <QObject>

class QWidget;

// Reports when a box gains the focus, so the window's GotFocus handler can select its text, and
// keeps that selection when a mouse click is what gave the focus: left alone, the click would
// place the caret and undo it. Later clicks inside the focused box behave as usual.
class FocusWatcher : public QObject {
    Q_OBJECT

public:
    // mouseTarget is where the box's mouse events arrive (a scroll area's viewport).
    FocusWatcher(QWidget* box, QWidget* mouseTarget);

signals:
    void gotFocus();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool swallowMouse(QEvent* event);

    QWidget* box_;
    QWidget* mouseTarget_;
    bool clickGaveFocus_ = false;
};
