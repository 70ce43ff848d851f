#include "SettingsFile.h"

#include <QTemporaryDir>
#include <QTest>

#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

using namespace zvm::settings;

Q_DECLARE_METATYPE(std::string)

class TestSettings : public QObject {
    Q_OBJECT

private slots:
    void workedExampleBytes();
    void emptyRecordBytes();
    void roundTrip_data();
    void roundTrip();
    void reads_data();
    void reads();
    void modernField_data();
    void modernField();
    void unstorableField();
    void saveReplacesAndKeepsNoTemporary();
    void failureBeforeRenameKeepsOldFile();
    void unwritableFolderKeepsOldFile();
    void missingFileIsNotLoaded();
    void readsOnlyTheFirst64KiB();
};

namespace {
SettingsRecord Record(std::array<std::string, FieldCount> values) {
    return SettingsRecord{std::move(values), {}};
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

QStringList FolderEntries(const QString& path) {
    return QDir(path).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
}
} // namespace

void TestSettings::workedExampleBytes() {
    const std::string bytes =
        FormatRecord(Record({"640", "480", "256", "32", "24000", R"(C:\Videos\clip.avi)",
                             R"(C:\Videos\clip.mp4)", R"(C:\ffmpeg\ffmpeg.exe)"}));
    QCOMPARE(bytes, std::string(R"("640","480","256","32","24000","C:\Videos\clip.avi","C:\Videos\clip.mp4",)"
                                R"("C:\ffmpeg\ffmpeg.exe","Saved")"
                                "\r\n"));
    QCOMPARE(bytes.size(), std::size_t(105));
}

void TestSettings::emptyRecordBytes() {
    const std::string bytes = FormatRecord(SettingsRecord{});
    QCOMPARE(bytes, std::string(R"("","","","","","","","","Saved")"
                                "\r\n"));
    QCOMPARE(bytes.size(), std::size_t(33));
}

void TestSettings::roundTrip_data() {
    QTest::addColumn<QStringList>("values");
    QTest::newRow("plain") << QStringList{"640",   "480",   "256",   "32",
                                          "24000", "a.avi", "b.mp4", "/usr/bin/ffmpeg"};
    QTest::newRow("commas and blanks") << QStringList{" 6 ",
                                                      "abc",
                                                      "",
                                                      "32",
                                                      "24000",
                                                      R"(C:\My Videos, old\clip.avi)",
                                                      "out, new.mp4",
                                                      "/opt/My Tools/ffmpeg"};
    QTest::newRow("non-ascii") << QStringList{
        "640", "480", "256", "32", "24000", "/home/zoë/Vidéos/clip.avi", "/tmp/日本.mp4", ""};
    QTest::newRow("all empty") << QStringList{"", "", "", "", "", "", "", ""};
}

void TestSettings::roundTrip() {
    QFETCH(QStringList, values);
    QTemporaryDir dir;
    const std::string path = dir.filePath("settings.ini").toStdString();
    SettingsRecord record;
    for (std::size_t i = 0; i < FieldCount; ++i) {
        record.values[i] = values[qsizetype(i)].toStdString();
    }
    QVERIFY(!SaveSettings(path, record).has_value());
    const auto loaded = LoadSettings(path);
    QVERIFY(loaded.has_value());
    QVERIFY(loaded->countsAsSaved());
    QCOMPARE(loaded->record.values, record.values);
    QCOMPARE(loaded->record.marker, std::string("Saved"));
}

void TestSettings::reads_data() {
    QTest::addColumn<std::string>("bytes");
    QTest::addColumn<int>("fields");
    QTest::addColumn<bool>("saved");
    QTest::addColumn<QStringList>("firstValues"); // the leading values that must have been read

    QTest::newRow("one field per line")
        << std::string("\"640\"\r\n\"480\"\r\n\"256\"\r\n\"32\"\r\n\"24000\"\r\n\"a, "
                       "b\"\r\n\"c\"\r\n\"d\"\r\n\"Saved\"\r\n")
        << 9 << true << QStringList{"640", "480", "256", "32", "24000", "a, b", "c", "d"};
    QTest::newRow("unix line ends") << std::string(
                                           "\"1\"\n\"2\",\"3\",\"4\",\"5\",\"6\",\"7\",\"8\"\n\"Saved\"\n")
                                    << 9 << true << QStringList{"1", "2", "3", "4"};
    QTest::newRow("marker lower case")
        << std::string(R"("","","","","","","","","saved")") << 9 << false << QStringList{};
    QTest::newRow("marker with a blank")
        << std::string(R"("","","","","","","","","Saved ")") << 9 << false << QStringList{};
    QTest::newRow("marker empty") << std::string(R"("","","","","","","","","")") << 9 << false
                                  << QStringList{};
    QTest::newRow("extra fields and lines ignored")
        << std::string("\"1\",\"2\",\"3\",\"4\",\"5\",\"6\",\"7\",\"8\",\"Saved\",\"Modern\"\r\nrubbish\r\n")
        << 9 << true << QStringList{"1", "2", "3", "4", "5", "6", "7", "8"};
    QTest::newRow("cut off mid-record")
        << std::string("\"640\",\"480\",\"25") << 3 << false << QStringList{"640", "480", "25"};
    QTest::newRow("blanks before fields, unquoted values")
        << std::string("  640 ,\t480,256,32,24000,a.avi,b.mp4,ff,Saved\r\n") << 9 << true
        << QStringList{"640", "480", "256", "32", "24000", "a.avi", "b.mp4", "ff"};
    QTest::newRow("text after a closing quote")
        << std::string("\"640\"x,\"480\"") << 2 << false << QStringList{"640", "480"};
    QTest::newRow("nothing between separators")
        << std::string("\"640\",,\"256\"") << 3 << false << QStringList{"640", "", "256"};
    QTest::newRow("empty file") << std::string() << 0 << false << QStringList{};
}

void TestSettings::reads() {
    QFETCH(std::string, bytes);
    QFETCH(int, fields);
    QFETCH(bool, saved);
    QFETCH(QStringList, firstValues);

    const ParsedSettings parsed = ParseRecord(bytes);
    QCOMPARE(int(parsed.fieldsRead), fields);
    QCOMPARE(parsed.countsAsSaved(), saved);
    for (qsizetype i = 0; i < firstValues.size(); ++i) {
        QCOMPARE(QString::fromStdString(parsed.record.values[std::size_t(i)]), firstValues[i]);
    }
}

void TestSettings::modernField_data() {
    QTest::addColumn<std::string>("bytes");
    QTest::addColumn<bool>("modern");
    const std::string nine = R"("1","2","3","4","5","6","7","8","Saved")";
    QTest::newRow("nine fields") << nine + "\r\n" << false;
    QTest::newRow("modern") << nine + ",\"Modern\"\r\n" << true;
    QTest::newRow("modern on its own line") << nine + "\r\n\"Modern\"\r\n" << true;
    QTest::newRow("other tenth field") << nine + ",\"modern\"\r\n" << false;
    QTest::newRow("modern in the ninth place")
        << std::string(R"("1","2","3","4","5","6","7","8","Modern")") << false;
}

void TestSettings::modernField() {
    QFETCH(std::string, bytes);
    QFETCH(bool, modern);
    const ParsedSettings parsed = ParseRecord(bytes);
    QCOMPARE(parsed.record.modernCommand, modern);
    // Whatever the tenth field says, the record written back carries the choice and reads the same.
    const std::string written = FormatRecord(parsed.record);
    QCOMPARE(ParseRecord(written).record.values, parsed.record.values);
    QCOMPARE(ParseRecord(written).record.modernCommand, modern);
    QCOMPARE(written.size(), std::size_t(28 + 8 + 5 + (modern ? 9 : 0)));
}

void TestSettings::unstorableField() {
    SettingsRecord record;
    QVERIFY(!FirstUnstorableField(record).has_value());
    record.values[SourceVideo] = "say \"cheese\".avi";
    record.values[EncoderPath].assign(1, '"');
    QCOMPARE(FirstUnstorableField(record), std::optional<Field>(SourceVideo));
}

void TestSettings::saveReplacesAndKeepsNoTemporary() {
    QTemporaryDir dir;
    const std::string path = dir.filePath("settings.ini").toStdString();
    WriteFile(path, std::string(5000, 'x'));
    chmod(path.c_str(), 0640);
    QVERIFY(!SaveSettings(path, SettingsRecord{}).has_value());
    QCOMPARE(ReadFile(path).size(), std::size_t(33));
    QCOMPARE(FolderEntries(dir.path()), QStringList{"settings.ini"});
    struct stat info {};
    QCOMPARE(stat(path.c_str(), &info), 0);
    QCOMPARE(info.st_mode & 0777, mode_t(0640)); // a save keeps the file's permissions
}

void TestSettings::failureBeforeRenameKeepsOldFile() {
    QTemporaryDir dir;
    const std::string path = dir.filePath("settings.ini").toStdString();
    const std::string old = FormatRecord(Record({"1", "2", "3", "4", "5", "6", "7", "8"}));
    WriteFile(path, old);
    const auto error = SaveSettings(path, SettingsRecord{}, [] { return false; });
    QVERIFY(error.has_value());
    QCOMPARE(ReadFile(path), old);
    QCOMPARE(FolderEntries(dir.path()), QStringList{"settings.ini"});
}

void TestSettings::unwritableFolderKeepsOldFile() {
    QTemporaryDir dir;
    const std::string path = dir.filePath("settings.ini").toStdString();
    const std::string old = FormatRecord(Record({"1", "2", "3", "4", "5", "6", "7", "8"}));
    WriteFile(path, old);
    chmod(dir.path().toLocal8Bit().constData(), 0555);
    const bool canStillWrite = access(dir.path().toLocal8Bit().constData(), W_OK) == 0;
    const auto error = SaveSettings(path, SettingsRecord{});
    chmod(dir.path().toLocal8Bit().constData(), 0755);
    if (canStillWrite) {
        // Root ignores the folder's permissions, so here the save must simply succeed.
        QVERIFY(!error.has_value());
        QCOMPARE(ReadFile(path).size(), std::size_t(33));
        // A folder nobody can create files in: the failure path, for root too.
        QVERIFY(SaveSettings("/proc/settings.ini", SettingsRecord{}).has_value());
        return;
    }
    QVERIFY(error.has_value());
    QCOMPARE(ReadFile(path), old);
}

void TestSettings::missingFileIsNotLoaded() {
    QTemporaryDir dir;
    QVERIFY(!LoadSettings(dir.filePath("settings.ini").toStdString()).has_value());
    QVERIFY(!LoadSettings(dir.path().toStdString()).has_value()); // a folder cannot be read as a file
}

void TestSettings::readsOnlyTheFirst64KiB() {
    QTemporaryDir dir;
    const std::string path = dir.filePath("settings.ini").toStdString();
    std::string bytes = "\"" + std::string(kMaxReadBytes + 10, 'a') + "\",\"480\"";
    WriteFile(path, bytes);
    const auto loaded = LoadSettings(path);
    QVERIFY(loaded.has_value());
    QCOMPARE(loaded->fieldsRead, std::size_t(1));
    QCOMPARE(loaded->record.values[Width].size(), kMaxReadBytes - 1);
}

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
