#include "core/ClockText.h"
#include "core/NumericText.h"

#include <QTest>

#include <limits>

class TestNumeric : public QObject {
    Q_OBJECT

private slots:
    void parses_data();
    void parses();
    void clocks_data();
    void clocks();
};

// The numeric test of the input checks: what it accepts, with the value the fitting uses, and what
// it refuses (NaN in the table).
void TestNumeric::parses_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");
    const double refused = std::numeric_limits<double>::quiet_NaN();
    const std::pair<const char*, double> rows[] = {
        {"640", 640.0}, {"12.5", 12.5}, {".5", 0.5}, {"5.", 5.0}, {"-5", -5.0}, {"+7", 7.0}, {"1e3", 1000.0},
        {"2E-2", 0.02}, {"1.5e+2", 150.0}, {"  640 ", 640.0}, {"\t480\t", 480.0}, {"- 5", -5.0}, {"007", 7.0},
        {"0", 0.0}, {"1.7976931348623157e308", std::numeric_limits<double>::max()},
        {"", refused}, {"   ", refused}, {"abc", refused}, {"12abc", refused}, {"640x480", refused},
        {"0x1A", refused}, {"0x1p3", refused}, {"1,000", refused}, {"12,5", refused}, {"$5", refused},
        {"nan", refused}, {"inf", refused}, {"-Infinity", refused}, {"1e400", refused}, {"1e-400", refused},
        {".", refused}, {"-", refused}, {"--5", refused}, {"1.2.3", refused}, {"1e", refused}, {"e5", refused},
        {"6 40", refused}, {"640\n", refused}, {"640\u00a0", refused}, {"\uff16\uff14\uff10", refused},
    };
    for (const auto& [text, value] : rows) {
        QTest::newRow(text) << QString::fromUtf8(text) << value;
    }
}

void TestNumeric::parses() {
    QFETCH(QString, text);
    QFETCH(double, value);
    const auto parsed = zvm::ParseNumber(text.toStdString());
    QCOMPARE(parsed.has_value(), !std::isnan(value));
    if (parsed) {
        QCOMPARE(*parsed, value);
    }
}

// Times as the windows and the command-line tool show them: rounded to the second, hours from an hour.
void TestNumeric::clocks_data() {
    QTest::addColumn<double>("seconds");
    QTest::addColumn<QString>("clock");
    const std::pair<double, const char*> rows[] = {
        {0, "0:00"}, {7.4, "0:07"}, {59.5, "1:00"}, {754, "12:34"}, {3599.4, "59:59"}, {3600, "1:00:00"},
        {3723, "1:02:03"}, {360000, "100:00:00"}, {-3, "0:00"}, {std::numeric_limits<double>::infinity(), ""},
    };
    for (const auto& [seconds, clock] : rows) {
        QTest::addRow("%g", seconds) << seconds << QString::fromLatin1(clock);
    }
}

void TestNumeric::clocks() {
    QFETCH(double, seconds);
    QFETCH(QString, clock);
    const QString shown = QString::fromStdString(zvm::ClockText(seconds));
    if (clock.isEmpty()) { // beyond any real duration: still a clock, not garbage
        QVERIFY(shown.contains(QLatin1Char(':')));
    } else {
        QCOMPARE(shown, clock);
    }
}

QTEST_GUILESS_MAIN(TestNumeric)
#include "tst_numeric.moc"
