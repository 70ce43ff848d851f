// The designed layout at the screen's font DPI and in the language CTest sets for the run: every text
// shows whole, no two controls overlap, nothing runs past the window's edge, and the window grows in
// proportion.
#include "../FakeOutside.h"
#include "FakePlatform.h"
#include "Translations.h"
#include "frmZCM.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionButton>
#include <QTest>

class TestLayout : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void textsShowWhole();
    void controlsDoNotOverlap();
    void windowGrowsInProportion();

private:
    FakePlatform platform_;
    FakeOutside outside_;
    std::unique_ptr<frmZCM> window_;
};

namespace {
// The controls that show something: every named widget of the client area but the groups.
QList<QWidget*> Controls(const frmZCM& w) {
    QList<QWidget*> controls;
    return w.centralWidget()->findChildren<QWidget*>(QRegularExpression("^(Label|txt|cmd|lbl|opt|cbo)"));
}

QRect InWindow(const frmZCM& w, const QWidget* control) {
    return {control->mapTo(w.centralWidget(), QPoint(0, 0)), control->size()};
}

// Where a push button draws its caption, and the caption's size in the button's font.
bool CaptionFits(QPushButton* button) {
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    const QRect room = button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
    const QSize text = button->fontMetrics().size(Qt::TextShowMnemonic, button->text());
    return text.width() <= room.width() && text.height() <= room.height();
}

QString Why(QWidget* control) {
    return QString("%1 at %2,%3 %4x%5 needs %6x%7")
        .arg(control->objectName())
        .arg(control->x())
        .arg(control->y())
        .arg(control->width())
        .arg(control->height())
        .arg(control->sizeHint().width())
        .arg(control->sizeHint().height());
}
} // namespace

void TestLayout::initTestCase() {
    InstallTranslations(*qApp); // the texts of the locale CTest gives, which may be longer than English
    window_ = std::make_unique<frmZCM>(platform_, outside_);
    window_->Form_Load(); // fills the preset list
    for (QLabel* result : window_->findChildren<QLabel*>(QRegularExpression("^lbl"))) {
        result->setText("368"); // the widest a size or pad gets
    }
    window_->lblRatio->setText("1.777778");
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
}

void TestLayout::textsShowWhole() {
    QStringList clipped;
    for (QWidget* control : Controls(*window_)) {
        bool fits = true;
        if (auto* button = qobject_cast<QPushButton*>(control)) {
            fits = CaptionFits(button);
        } else if (qobject_cast<QLabel*>(control) != nullptr || qobject_cast<QRadioButton*>(control) != nullptr ||
                   qobject_cast<QComboBox*>(control) != nullptr) {
            fits = control->sizeHint().height() <= control->height() &&
                   (control->sizeHint().width() <= control->width() || qobject_cast<QComboBox*>(control));
        } else if (qobject_cast<QLineEdit*>(control) != nullptr) {
            fits = control->sizeHint().height() <= control->height();
        }
        if (!fits) {
            clipped << Why(control);
        }
    }
    QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join("\n")));
}

void TestLayout::controlsDoNotOverlap() {
    const QList<QWidget*> controls = Controls(*window_);
    const QRect client = window_->centralWidget()->rect();
    QStringList problems;
    for (qsizetype i = 0; i < controls.size(); ++i) {
        const QRect a = InWindow(*window_, controls[i]);
        if (!client.contains(a)) {
            problems << Why(controls[i]) + " runs past the window's edge";
        } else if (!controls[i]->parentWidget()->rect().contains(controls[i]->geometry())) {
            problems << Why(controls[i]) + " is cut by its group";
        }
        for (qsizetype j = i + 1; j < controls.size(); ++j) {
            if (a.intersects(InWindow(*window_, controls[j]))) {
                problems << Why(controls[i]) + " overlaps " + Why(controls[j]);
            }
        }
    }
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join("\n")));
}

void TestLayout::windowGrowsInProportion() {
    const double scale = window_->logicalDpiX() / 96.0;
    const QSize client = window_->centralWidget()->size();
    QVERIFY(client.width() >= qRound(568 * scale) && client.height() >= qRound(544 * scale));
    QVERIFY2(client.width() <= qRound(568 * scale * 1.05) && client.height() <= qRound(544 * scale * 1.05),
             "the window grows only as much as its texts need");
}

QTEST_MAIN(TestLayout)
#include "tst_layout.moc"
