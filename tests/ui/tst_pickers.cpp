// The pickers' dialog: what typing into its file-name field and pressing Open does.
#include "ui/PickerDialog.h"

#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

class TestPickers : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void typedAnswers_data();
    void typedAnswers();

private:
    QTemporaryDir dir_;
};

void TestPickers::initTestCase() {
    QVERIFY(dir_.isValid());
    for (const char* name : {"ffmpeg", "notes.txt", "clip.mkv"}) {
        QFile file(dir_.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("#!/bin/sh\n");
    }
    QFile::setPermissions(dir_.filePath("ffmpeg"), QFile::permissions(dir_.filePath("ffmpeg")) | QFile::ExeOwner);
    QVERIFY(QFile::link(dir_.filePath("ffmpeg"), dir_.filePath("linked")));
    QVERIFY(QDir(dir_.path()).mkdir("tools"));
}

void TestPickers::typedAnswers_data() {
    QTest::addColumn<bool>("program");  // the encoder picker, or a video picker
    QTest::addColumn<QString>("typed"); // into the file-name field
    QTest::addColumn<QString>("answer"); // the file chosen; empty: the dialog stays open
    QTest::addColumn<QString>("filter"); // the filter then in force; empty: unchanged
    QTest::addColumn<bool>("complains");

    QTest::newRow("the designed pattern") << true << "ffmpeg*" << "" << "ffmpeg*" << false;
    QTest::newRow("a question mark") << true << "ffmpe?" << "" << "ffmpe?" << false;
    QTest::newRow("the program") << true << "ffmpeg" << "ffmpeg" << "" << false;
    QTest::newRow("a link to the program") << true << "linked" << "linked" << "" << false;
    QTest::newRow("a file that is no program") << true << "notes.txt" << "" << "" << true;
    QTest::newRow("a missing file") << true << "ffprobe" << "" << "" << true;
    QTest::newRow("a folder is opened") << true << "tools" << "" << "" << false;
    QTest::newRow("nothing typed") << true << "" << "" << "" << false;
    QTest::newRow("a video") << false << "clip.mkv" << "clip.mkv" << "" << false;
    QTest::newRow("a new output name") << false << "new.mp4" << "new.mp4" << "" << false;
    QTest::newRow("a video pattern") << false << "*.mkv" << "" << "*.mkv" << false;
}

void TestPickers::typedAnswers() {
    QFETCH(bool, program);
    QFETCH(QString, typed);
    QFETCH(QString, answer);
    QFETCH(QString, filter);
    QFETCH(bool, complains);
    PickerDialog dialog(nullptr, "Locate", program);
    dialog.setFileMode(program ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setDirectory(dir_.path());
    QStringList complaints;
    dialog.complain = [&complaints](const QString& text) { complaints << text; };
    dialog.show();
    auto* nameBox = dialog.findChild<QLineEdit*>("fileNameEdit");
    QVERIFY(nameBox != nullptr);
    nameBox->setText(typed);
    dialog.accept();
    const bool accepted = dialog.result() == QDialog::Accepted;
    QCOMPARE(accepted, !answer.isEmpty());
    if (accepted) {
        QCOMPARE(dialog.selectedFiles(), QStringList{dir_.filePath(answer)});
    }
    if (!filter.isEmpty()) {
        QCOMPARE(dialog.nameFilters(), QStringList{filter});
    }
    QCOMPARE(complaints.size(), complains ? 1 : 0);
    if (complains) {
        QVERIFY2(complaints[0].contains(typed), qPrintable(complaints[0])); // names what was refused
    }
}

QTEST_MAIN(TestPickers)
#include "tst_pickers.moc"
