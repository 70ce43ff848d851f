#include "NumericText.h"

#include <QTest>

#include <limits>

class TestNumeric : public QObject {
    Q_OBJECT

private slots:
    void accepts_data();
    void accepts();
    void refuses_data();
    void refuses();
};

void TestNumeric::accepts_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");

    QTest::newRow("whole") << "640" << 640.0;
    QTest::newRow("decimal") << "12.5" << 12.5;
    QTest::newRow("leading point") << ".5" << 0.5;
    QTest::newRow("trailing point") << "5." << 5.0;
    QTest::newRow("minus") << "-5" << -5.0;
    QTest::newRow("plus") << "+7" << 7.0;
    QTest::newRow("exponent") << "1e3" << 1000.0;
    QTest::newRow("upper exponent negative") << "2E-2" << 0.02;
    QTest::newRow("exponent with plus") << "1.5e+2" << 150.0;
    QTest::newRow("blanks around") << "  640 " << 640.0;
    QTest::newRow("tabs around") << "\t480\t" << 480.0;
    QTest::newRow("blank after sign") << "- 5" << -5.0;
    QTest::newRow("leading zeros") << "007" << 7.0;
    QTest::newRow("zero") << "0" << 0.0;
    QTest::newRow("largest double") << "1.7976931348623157e308" << std::numeric_limits<double>::max();
}

void TestNumeric::accepts() {
    QFETCH(QString, text);
    QFETCH(double, value);
    const auto parsed = zvm::ParseNumber(text.toStdString());
    QVERIFY2(parsed.has_value(), qPrintable(text));
    QCOMPARE(*parsed, value);
}

void TestNumeric::refuses_data() {
    QTest::addColumn<QString>("text");

    QTest::newRow("empty") << "";
    QTest::newRow("blanks only") << "   ";
    QTest::newRow("letters") << "abc";
    QTest::newRow("trailing letters") << "12abc";
    QTest::newRow("size pair") << "640x480";
    QTest::newRow("hexadecimal") << "0x1A";
    QTest::newRow("hex float") << "0x1p3";
    QTest::newRow("thousands separator") << "1,000";
    QTest::newRow("decimal comma") << "12,5";
    QTest::newRow("currency") << "$5";
    QTest::newRow("nan") << "nan";
    QTest::newRow("inf") << "inf";
    QTest::newRow("infinity") << "-Infinity";
    QTest::newRow("overflow") << "1e400";
    QTest::newRow("lone point") << ".";
    QTest::newRow("lone sign") << "-";
    QTest::newRow("double sign") << "--5";
    QTest::newRow("two points") << "1.2.3";
    QTest::newRow("exponent without digits") << "1e";
    QTest::newRow("exponent alone") << "e5";
    QTest::newRow("blank inside") << "6 40";
    QTest::newRow("newline around") << "640\n";
    QTest::newRow("non-breaking space") << QString::fromUtf8("640\u00a0");
    QTest::newRow("full-width digits") << QString::fromUtf8("\uff16\uff14\uff10");
}

void TestNumeric::refuses() {
    QFETCH(QString, text);
    QVERIFY2(!zvm::ParseNumber(text.toStdString()).has_value(), qPrintable(text));
}

QTEST_GUILESS_MAIN(TestNumeric)
#include "tst_numeric.moc"
