#include "core/Fitting.h"
#include "core/Generate.h"
#include "core/Presets.h"

#include <cmath>

#include <QTest>

using zvm::FrameGeometry;

class TestFitting : public QObject {
    Q_OBJECT

private slots:
    void fitsPublishedTable_data();
    void fitsPublishedTable();
    void invariantsHoldEverywhere();
    void nonSquarePixels_data();
    void nonSquarePixels();
    void extremeShapes_data();
    void extremeShapes();
    void ratioLabel_data();
    void ratioLabel();
};

namespace {
FrameGeometry Fit(double width, double height, int row) {
    const auto& preset = *zvm::FindPreset(row);
    return zvm::FitAndPad(zvm::ComputeRatio(width, height), preset.width, preset.height);
}

// The fit as Generate makes it, the target's pixel aspect allowed for.
FrameGeometry FitAsGenerated(int width, int height, int row) {
    zvm::ConversionRequest r;
    r.width = std::to_string(width);
    r.height = std::to_string(height);
    r.preset = row;
    return *zvm::FitRequest(r);
}

// Returns an empty string when every invariant holds, else which one broke.
QString BrokenInvariant(const FrameGeometry& g) {
    if (g.newWidth + g.padLeft + g.padRight != g.targetWidth) {
        return "width sum";
    }
    if (g.newHeight + g.padTop + g.padBottom != g.targetHeight) {
        return "height sum";
    }
    for (int v : {g.newWidth, g.newHeight, g.padTop, g.padBottom, g.padLeft, g.padRight}) {
        if (v < 0 || v % 2 != 0) {
            return "negative or odd value";
        }
    }
    if (g.newWidth > g.targetWidth || g.newHeight > g.targetHeight) {
        return "picture larger than target";
    }
    if ((g.padLeft != 0 || g.padRight != 0) && (g.padTop != 0 || g.padBottom != 0)) {
        return "both pairs of pads";
    }
    const bool topOk = g.padTop == g.padBottom || g.padTop == g.padBottom + 2;
    const bool leftOk = g.padLeft == g.padRight || g.padLeft == g.padRight + 2;
    if (!topOk || !leftOk) {
        return "first pad neither equal to nor 2 above the second";
    }
    return {};
}
} // namespace

void TestFitting::fitsPublishedTable_data() {
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("ratio");
    QTest::addColumn<QList<int>>("expected"); // new width, new height, top, bottom, left, right

    QTest::newRow("640x480 row 0") << 640 << 480 << 0 << "1.333333" << QList<int>{214, 160, 0, 0, 14, 12};
    QTest::newRow("640x480 row 1") << 640 << 480 << 1 << "1.333333" << QList<int>{234, 176, 0, 0, 4, 2};
    QTest::newRow("640x480 row 2") << 640 << 480 << 2 << "1.333333" << QList<int>{320, 240, 0, 0, 0, 0};
    QTest::newRow("640x480 row 3") << 640 << 480 << 3 << "1.333333" << QList<int>{278, 208, 0, 0, 46, 44};
    QTest::newRow("640x480 row 4") << 640 << 480 << 4 << "1.333333" << QList<int>{320, 240, 0, 0, 16, 16};
    QTest::newRow("720x480 row 1") << 720 << 480 << 1 << "1.5" << QList<int>{240, 160, 8, 8, 0, 0};
    QTest::newRow("720x480 row 2") << 720 << 480 << 2 << "1.5" << QList<int>{320, 214, 14, 12, 0, 0};
    QTest::newRow("720x480 row 4") << 720 << 480 << 4 << "1.5" << QList<int>{352, 234, 4, 2, 0, 0};
    QTest::newRow("720x576 row 3") << 720 << 576 << 3 << "1.25" << QList<int>{260, 208, 0, 0, 54, 54};
    QTest::newRow("1280x720 row 0") << 1280 << 720 << 0 << "1.777778" << QList<int>{240, 136, 12, 12, 0, 0};
    QTest::newRow("1280x720 row 2") << 1280 << 720 << 2 << "1.777778" << QList<int>{320, 180, 30, 30, 0, 0};
    QTest::newRow("1280x720 row 3 fills")
        << 1280 << 720 << 3 << "1.777778" << QList<int>{368, 208, 0, 0, 0, 0};
    QTest::newRow("1280x720 row 4") << 1280 << 720 << 4 << "1.777778" << QList<int>{352, 198, 22, 20, 0, 0};
    QTest::newRow("352x240 row 4 exact") << 352 << 240 << 4 << "1.466667" << QList<int>{352, 240, 0, 0, 0, 0};
    QTest::newRow("176x144 row 3") << 176 << 144 << 3 << "1.222222" << QList<int>{254, 208, 0, 0, 58, 56};
    QTest::newRow("720x480 row 0 exact") << 720 << 480 << 0 << "1.5" << QList<int>{240, 160, 0, 0, 0, 0};
    // 240 / 2.2857144f rounds to 104.99999f: with a double-precision ratio this would be 240x106, 28/26.
    QTest::newRow("320x140 row 0") << 320 << 140 << 0 << "2.285714" << QList<int>{240, 104, 28, 28, 0, 0};
    QTest::newRow("portrait 480x640 row 0")
        << 480 << 640 << 0 << "0.75" << QList<int>{120, 160, 0, 0, 60, 60};
    QTest::newRow("portrait 1080x1920 row 4")
        << 1080 << 1920 << 4 << "0.5625" << QList<int>{136, 240, 0, 0, 108, 108};
}

void TestFitting::fitsPublishedTable() {
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(int, row);
    QFETCH(QString, ratio);
    QFETCH(QList<int>, expected);

    const FrameGeometry g = Fit(width, height, row);
    QCOMPARE(QString::fromStdString(zvm::FormatRatio(g.ratio)), ratio);
    const QList<int> actual{g.newWidth, g.newHeight, g.padTop, g.padBottom, g.padLeft, g.padRight};
    QCOMPARE(actual, expected);
    QCOMPARE(BrokenInvariant(g), QString());
}

// Every target, and the designed rows' fit as Generate makes it is the designed one to the pixel.
void TestFitting::invariantsHoldEverywhere() {
    int checked = 0;
    for (int row = 0; row < int(zvm::TargetPresets().size()); ++row) {
        for (int w = 1; w <= 2000; w += 7) {
            for (int h = 1; h <= 2000; h += 11) {
                const FrameGeometry g = FitAsGenerated(w, h, row);
                if (row < 5 && !(g == Fit(w, h, row))) {
                    QFAIL(qPrintable(QString("%1x%2 row %3 moved").arg(w).arg(h).arg(row)));
                }
                const QString broken = BrokenInvariant(g);
                if (!broken.isEmpty()) {
                    QFAIL(qPrintable(QString("%1x%2 row %3: %4").arg(w).arg(h).arg(row).arg(broken)));
                }
                ++checked;
            }
        }
    }
    QVERIFY(checked > 100000);
}

// A picture of display aspect A on pixels p wide per unit of height is stored A/p wide per unit of
// height: it fills the width W when H·A/p > W, its height then W·p/A, else its width H·A/p, each rounded
// down and then up to even. The sizes here lie away from the single-precision edge the fit rounds at.
void TestFitting::nonSquarePixels_data() {
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("pixel"); // the target's pixel aspect, as the test knows it
    // A crop's width, height and the stored picture it is taken from; empty for none.
    QTest::addColumn<QList<int>>("crop");
    QTest::newRow("4:3 fills an ntsc tv") << 640 << 480 << "vcd-tv-352x240" << "10:11" << QList<int>{};
    QTest::newRow("4:3 fills a pal tv") << 640 << 480 << "vcd-pal-352x288" << "12:11" << QList<int>{};
    QTest::newRow("3:2 on an ntsc tv") << 720 << 480 << "vcd-tv-352x240" << "10:11" << QList<int>{};
    QTest::newRow("16:9 on a pal tv") << 854 << 480 << "vcd-pal-352x288" << "12:11" << QList<int>{};
    QTest::newRow("portrait on an ntsc tv") << 1080 << 1920 << "vcd-tv-352x240" << "10:11" << QList<int>{};
    QTest::newRow("portrait on a pal tv") << 1080 << 1920 << "vcd-pal-352x288" << "12:11" << QList<int>{};
    QTest::newRow("4:3 on the h264 psp") << 1440 << 1080 << "psp-480x272" << "1:1" << QList<int>{};
    QTest::newRow("designed vcd, square") << 640 << 480 << "vcd-352x240" << "1:1" << QList<int>{};
    QTest::newRow("pillarboxed 4:3 cropped fills a psp") << 1920 << 1080 << "psp-320x240" << "1:1"
                                                         << QList<int>{1440, 1080, 1920, 1080};
    QTest::newRow("letterboxed 2.39 cropped") << 1920 << 1080 << "psp-368x208" << "1:1" << QList<int>{1920, 804, 1920, 1080};
    QTest::newRow("windowboxed cropped") << 1280 << 720 << "gba-240x176" << "1:1" << QList<int>{960, 540, 1280, 720};
    QTest::newRow("anamorphic dvd cropped") << 640 << 480 << "psp-480x272" << "1:1" << QList<int>{704, 480, 720, 480};
    QTest::newRow("cropped on a pal tv") << 1024 << 576 << "vcd-pal-352x288" << "12:11" << QList<int>{720, 576, 1024, 576};
}

void TestFitting::nonSquarePixels() {
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(QString, target);
    QFETCH(QString, pixel);
    QFETCH(QList<int>, crop);
    const std::optional<int> row = zvm::PresetByName(target.toStdString());
    QVERIFY(row);
    const zvm::TargetPreset& t = *zvm::FindPreset(*row);
    // A crop keeps crop[0] of crop[2] stored columns, each shown width / crop[2] wide.
    const double shown = crop.isEmpty() ? double(width) / height
                                        : (crop[0] * double(width) / crop[2]) / (crop[1] * double(height) / crop[3]);
    const double stored = shown / (pixel.section(':', 0, 0).toDouble() / pixel.section(':', 1, 1).toDouble());
    const auto even = [](double v) { return int(std::floor(v)) + int(std::floor(v)) % 2; };
    const bool fillsWidth = t.height * stored > t.width;
    const QList<int> expected{fillsWidth ? t.width : even(t.height * stored), fillsWidth ? even(t.width / stored) : t.height};
    zvm::ConversionRequest r;
    r.width = std::to_string(width);
    r.height = std::to_string(height);
    r.preset = *row;
    if (!crop.isEmpty()) {
        r.crop = {zvm::CropMode::Rect, crop[0], crop[1], 0, 0, crop[2], crop[3]};
    }
    const FrameGeometry g = *zvm::FitRequest(r);
    QCOMPARE((QList<int>{g.newWidth, g.newHeight}), expected);
    QCOMPARE(BrokenInvariant(g), QString());
}

void TestFitting::extremeShapes_data() {
    QTest::addColumn<double>("width");
    QTest::addColumn<double>("height");
    QTest::addColumn<bool>("wide");

    QTest::newRow("very wide") << 100000.0 << 1.0 << true;
    QTest::newRow("very tall") << 1.0 << 100000.0 << false;
    QTest::newRow("ratio beyond float range") << 1e300 << 1e-10 << true;
    QTest::newRow("ratio below float range") << 1e-300 << 1e10 << false;
}

void TestFitting::extremeShapes() {
    QFETCH(double, width);
    QFETCH(double, height);
    QFETCH(bool, wide);
    for (int row = 0; row < 5; ++row) {
        const FrameGeometry g = Fit(width, height, row);
        QCOMPARE(BrokenInvariant(g), QString());
        if (wide) {
            QCOMPARE(g.newWidth, g.targetWidth);
            QVERIFY(g.newHeight < g.targetHeight / 4);
        } else {
            QCOMPARE(g.newHeight, g.targetHeight);
            QVERIFY(g.newWidth < g.targetWidth / 4);
        }
    }
}

void TestFitting::ratioLabel_data() {
    QTest::addColumn<float>("ratio");
    QTest::addColumn<QString>("label");

    // More in the published table's ratio column.
    QTest::newRow("whole") << 2.0F << "2";
    QTest::newRow("small") << 0.0625F << "0.0625";
    QTest::newRow("seven digits kept") << 1234.567F << "1234.567";
}

void TestFitting::ratioLabel() {
    QFETCH(float, ratio);
    QFETCH(QString, label);
    QCOMPARE(QString::fromStdString(zvm::FormatRatio(ratio)), label);
}

QTEST_GUILESS_MAIN(TestFitting)
#include "tst_fitting.moc"
