// The designed layout at the screen's font DPI and in the language CTest sets for the run: every text
// shows whole, no two controls overlap, nothing runs past the window's edge, the parts stand in their
// designed order, and the window grows in proportion.
#include "tests/FakeOutside.h"
#include "tests/ui/FakePlatform.h"
#include "tests/ui/WindowControls.h"
#include "ui/Translations.h"
#include "ui/frmZCM.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStyle>
#include <QTest>

class TestLayout : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void textsShowWhole();
    void controlsDoNotOverlap();
    void readingOrder_data();
    void readingOrder();
    void windowGrowsInProportion();

private:
    FakePlatform platform_;
    FakeOutside outside_;
    std::unique_ptr<frmZCM> window_;
};

namespace {
// The controls that show something: every named widget of the client area but the groups.
QList<QWidget*> Controls(const frmZCM& w) {
    return w.centralWidget()->findChildren<QWidget*>(QRegularExpression("^(Label|txt|cmd|lbl|opt|cbo)"));
}

QRect InWindow(const frmZCM& w, const QWidget* control) {
    return {control->mapTo(w.centralWidget(), QPoint(0, 0)), control->size()};
}

// The caption as shown: an ampersand marks an access key and is not drawn, "&&" draws one.
QString Shown(const QString& caption) {
    return QString(caption).replace(QRegularExpression("&(.)"), "\\1");
}

// Measured apart from how the window sizes its controls: the text's advance in the control's own font,
// plus what the style draws around it, against the control's contents rectangle. Returns what is short.
QString TextRoom(QWidget* control) {
    const QStyle* style = control->style();
    const auto metric = [&](QStyle::PixelMetric m) { return style->pixelMetric(m, nullptr, control); };
    const QFontMetrics font = control->fontMetrics();
    QString text;
    QSize around; // the style's margins and frames around the text, both sides together
    if (auto* button = qobject_cast<QPushButton*>(control)) {
        // Inside its frame and default-button ring; the style's wish for padding beyond that is not room
        // the caption needs, and the designed buttons are too small to grant it.
        const int frame = 2 * metric(QStyle::PM_DefaultFrameWidth) +
                          (button->autoDefault() ? 2 * metric(QStyle::PM_ButtonDefaultIndicator) : 0);
        text = Shown(button->text());
        around = QSize(frame, frame);
    } else if (auto* option = qobject_cast<QRadioButton*>(control)) {
        text = Shown(option->text());
        around =
            QSize(metric(QStyle::PM_ExclusiveIndicatorWidth) + metric(QStyle::PM_RadioButtonLabelSpacing), 0);
    } else if (auto* label = qobject_cast<QLabel*>(control)) {
        // A framed label without an indent of its own keeps half an "x" from the side it is aligned to.
        const int indent = label->indent() >= 0 || label->frameWidth() == 0
                               ? std::max(0, label->indent())
                               : font.horizontalAdvance(QLatin1Char('x')) / 2 - label->margin();
        const bool toASide = (label->alignment() & (Qt::AlignLeft | Qt::AlignRight)) != 0;
        text = label->text();
        around = QSize(2 * label->margin() + (toASide ? indent : 0), 2 * label->margin());
    } else { // a box: its text scrolls sideways, but a line of it shows whole in height
        around = QSize(0, 2 * metric(QStyle::PM_DefaultFrameWidth));
    }
    const QSize needed(text.isEmpty() ? 0 : font.horizontalAdvance(text) + around.width(),
                       font.height() + around.height());
    const QSize room = control->contentsRect().size();
    if (needed.width() <= room.width() && needed.height() <= room.height()) {
        return {};
    }
    return QString("%1 needs %2x%3 for \"%4\", has %5x%6")
        .arg(control->objectName())
        .arg(needed.width())
        .arg(needed.height())
        .arg(text)
        .arg(room.width())
        .arg(room.height());
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
    Ui(*window_).lblRatio->setText("1.777778");
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
}

void TestLayout::textsShowWhole() {
    QStringList clipped;
    for (QWidget* control : Controls(*window_)) {
        if (const QString why = TextRoom(control); !why.isEmpty()) {
            clipped << why;
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

// The window read from top to bottom: the two path rows, lined up; four groups side by side, the
// encoder's under the first two; the command box across the bottom, its four buttons beneath it.
void TestLayout::readingOrder_data() {
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("relation");
    QTest::addColumn<QString>("second");
    const char* const rows[][3] = {
        {"txtOriginalVideo", "above", "txtSaveAs"},
        {"txtOriginalVideo", "in line with", "txtSaveAs"},
        {"cmdBrowseVideo", "in line with", "cmdSaveAs"},
        {"txtSaveAs", "above", "fraOriginal"},
        {"fraOriginal", "left of", "fraMovieType"},
        {"fraMovieType", "left of", "fraPadding"},
        {"fraPadding", "left of", "fraOptions"},
        {"fraOriginal", "level with", "fraOptions"},
        {"fraMovieType", "above", "fraSettings"},
        {"fraSettings", "left of", "fraPadding"},
        {"fraSettings", "above", "fraMain"},
        {"fraOptions", "above", "fraMain"},
        {"txtFFMPEGCode", "above", "cmdConvert"},
        {"cmdConvert", "left of", "cmdClear"},
        {"cmdClear", "left of", "cmdExit"},
        {"cmdExit", "left of", "cmdGenerate"},
    };
    for (const auto& [first, relation, second] : rows) {
        QTest::addRow("%s %s %s", first, relation, second) << first << relation << second;
    }
}

void TestLayout::readingOrder() {
    QFETCH(QString, first);
    QFETCH(QString, relation);
    QFETCH(QString, second);
    const QWidget* a = window_->findChild<QWidget*>(first);
    const QWidget* b = window_->findChild<QWidget*>(second);
    QVERIFY(a != nullptr && b != nullptr);
    const QRect ra = InWindow(*window_, a);
    const QRect rb = InWindow(*window_, b);
    if (relation == "above") { // groups may share a border line, so by the middle
        QVERIFY(ra.center().y() < rb.top());
    } else if (relation == "left of") {
        QVERIFY(ra.center().x() < rb.left());
    } else if (relation == "in line with") {
        QCOMPARE(ra.left(), rb.left());
        QCOMPARE(ra.width(), rb.width());
    } else if (relation == "level with") {
        QCOMPARE(ra.top(), rb.top());
    } else {
        QFAIL(qPrintable("unknown relation: " + relation));
    }
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
