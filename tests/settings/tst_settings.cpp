#include "settings/SettingsFile.h"
#include "settings/TargetsFile.h"

#include <QDir>

#include <QTemporaryDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

#include <csignal>
#include <fstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utime.h>

using namespace zvm::settings;

Q_DECLARE_METATYPE(std::string)

class TestSettings : public QObject {
    Q_OBJECT

private slots:
    void roundTrip_data();
    void roundTrip();
    void reads_data();
    void reads();
    void formField_data();
    void formField();
    void storable_data();
    void storable();
    void loads_data();
    void loads();
    void unreadableForAnOrdinaryUser();
    void saves_data();
    void saves();
    void userTargets_data();
    void userTargets();
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
    return QDir(path).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot | QDir::System);
}

mode_t ModeOf(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : mode_t(07777);
}

const std::string kOld = FormatRecord(Record({"1", "2", "3", "4", "5", "6", "7", "8"}));
const std::string kForeign = "[General]\ngeometry=@ByteArray(x)\nlastFolder=/home/me\n";

// What stands where the settings file is looked for; "settings.ini" in `dir` is always the path used.
// Returns false for a setup it does not know.
bool Prepare(const QString& setup, const QTemporaryDir& dir) {
    const std::string path = dir.filePath("settings.ini").toStdString();
    const std::string target = dir.filePath("target.ini").toStdString();
    if (setup == "none") {
        return true;
    }
    if (setup == "directory") {
        QDir(dir.path()).mkdir("settings.ini");
    } else if (setup == "fifo") {
        mkfifo(path.c_str(), 0644);
    } else if (setup == "link loop") {
        symlink("settings.ini", path.c_str());
    } else if (setup == "too large") {
        WriteFile(path, kOld + std::string(kMaxReadBytes, ' '));
    } else if (setup.startsWith("file ")) { // and its mode in octal
        bool octal = false;
        const uint mode = setup.section(' ', 1).toUInt(&octal, 8);
        if (!octal) {
            return false;
        }
        WriteFile(path, kOld);
        chmod(path.c_str(), mode);
    } else if (setup == "another program's INI") {
        WriteFile(path, kForeign);
    } else if (setup == "link to another program's INI") {
        WriteFile(target, kForeign);
        symlink("target.ini", path.c_str());
    } else if (setup == "link to 0666 file") {
        WriteFile(target, kOld);
        chmod(target.c_str(), 0666);
        symlink("target.ini", path.c_str());
    } else if (setup == "stale temporaries") {
        WriteFile(path, kOld);
        const std::string stale = dir.filePath(".settings.ini.Ab12Cd").toStdString();
        WriteFile(stale, "half");
        const utimbuf longAgo{time(nullptr) - 120, time(nullptr) - 120};
        utime(stale.c_str(), &longAgo);
        WriteFile(dir.filePath(".settings.ini.Fresh1").toStdString(), "another save under way");
        WriteFile(dir.filePath(".settings.ini.notours").toStdString(), "other name");
    } else {
        return false;
    }
    return true;
}
} // namespace

// Saved and read back whole, with the designed bytes where the values are the design's examples.
void TestSettings::roundTrip_data() {
    QTest::addColumn<QStringList>("values");
    QTest::addColumn<QByteArray>("bytes"); // the file exactly; empty: not compared
    QTest::newRow("worked example, 105 bytes")
        << QStringList{"640", "480", "256", "32", "24000", R"(C:\Videos\clip.avi)", R"(C:\Videos\clip.mp4)",
                       R"(C:\ffmpeg\ffmpeg.exe)"}
        << QByteArray(R"("640","480","256","32","24000","C:\Videos\clip.avi","C:\Videos\clip.mp4",)"
                      R"("C:\ffmpeg\ffmpeg.exe","Saved")" "\r\n");
    QTest::newRow("all empty, 33 bytes") << QStringList(8, QString())
                                         << QByteArray(R"("","","","","","","","","Saved")" "\r\n");
    QTest::newRow("commas and blanks") << QStringList{" 6 ", "abc", "", "32", "24000", R"(C:\My Videos, old\clip.avi)",
                                                      "out, new.mp4", "/opt/My Tools/ffmpeg"}
                                       << QByteArray();
    QTest::newRow("non-ascii") << QStringList{"640", "480", "256", "32", "24000", "/home/zoë/Vidéos/clip.avi",
                                              "/tmp/日本.mp4", ""}
                               << QByteArray();
}

void TestSettings::roundTrip() {
    QFETCH(QStringList, values);
    QFETCH(QByteArray, bytes);
    QTemporaryDir dir;
    const std::string path = dir.filePath("settings.ini").toStdString();
    SettingsRecord record;
    for (std::size_t i = 0; i < FieldCount; ++i) {
        record.values[i] = values[qsizetype(i)].toStdString();
    }
    QVERIFY(SaveSettings(path, record).ok());
    if (!bytes.isEmpty()) {
        QCOMPARE(QByteArray::fromStdString(ReadFile(path)), bytes);
    }
    const LoadResult loaded = LoadSettings(path);
    QCOMPARE(loaded.state, FileState::Loaded);
    QVERIFY(loaded.parsed.countsAsSaved());
    QCOMPARE(loaded.parsed.record.values, record.values);
}

void TestSettings::reads_data() {
    QTest::addColumn<std::string>("bytes");
    QTest::addColumn<int>("fields");
    QTest::addColumn<bool>("saved");
    QTest::addColumn<QStringList>("firstValues"); // the leading values that must have been read
    QTest::addColumn<bool>("ours");               // a record this program may replace

    QTest::newRow("one field per line")
        << std::string("\"640\"\r\n\"480\"\r\n\"256\"\r\n\"32\"\r\n\"24000\"\r\n\"a, "
                       "b\"\r\n\"c\"\r\n\"d\"\r\n\"Saved\"\r\n")
        << 9 << true << QStringList{"640", "480", "256", "32", "24000", "a, b", "c", "d"} << true;
    QTest::newRow("unix line ends") << std::string(
                                           "\"1\"\n\"2\",\"3\",\"4\",\"5\",\"6\",\"7\",\"8\"\n\"Saved\"\n")
                                    << 9 << true << QStringList{"1", "2", "3", "4"} << true;
    QTest::newRow("marker lower case")
        << std::string(R"("","","","","","","","","saved")") << 9 << false << QStringList{} << true;
    QTest::newRow("marker with a blank")
        << std::string(R"("","","","","","","","","Saved ")") << 9 << false << QStringList{} << true;
    QTest::newRow("marker empty") << std::string(R"("","","","","","","","","")") << 9 << false
                                  << QStringList{} << true;
    QTest::newRow("extra fields and lines ignored")
        << std::string("\"1\",\"2\",\"3\",\"4\",\"5\",\"6\",\"7\",\"8\",\"Saved\",\"Modern\"\r\nrubbish\r\n")
        << 9 << true << QStringList{"1", "2", "3", "4", "5", "6", "7", "8"} << true;
    QTest::newRow("cut off mid-record")
        << std::string("\"640\",\"480\",\"25") << 3 << false << QStringList{"640", "480", "25"} << true;
    QTest::newRow("blanks before fields, unquoted values")
        << std::string("  640 ,\t480,256,32,24000,a.avi,b.mp4,ff,Saved\r\n") << 9 << true
        << QStringList{"640", "480", "256", "32", "24000", "a.avi", "b.mp4", "ff"} << false;
    QTest::newRow("text after a closing quote")
        << std::string("\"640\"x,\"480\"") << 2 << false << QStringList{"640", "480"} << false;
    QTest::newRow("nothing between separators")
        << std::string("\"640\",,\"256\"") << 3 << false << QStringList{"640", "", "256"} << false;
    QTest::newRow("empty file") << std::string() << 0 << false << QStringList{} << true;
    QTest::newRow("another program's INI")
        << std::string("[General]\nlast=1\n1\n2\n3\n4\n5\n6\n7\n8\n") << 9 << false << QStringList{"[General]"}
        << false;
    QTest::newRow("quoted keys") << std::string(R"("a"="1","b"="2")") << 2 << false << QStringList{"a", "b"}
                                 << false;
}

void TestSettings::reads() {
    QFETCH(std::string, bytes);
    QFETCH(int, fields);
    QFETCH(bool, saved);
    QFETCH(QStringList, firstValues);
    QFETCH(bool, ours);

    const ParsedSettings parsed = ParseRecord(bytes);
    QCOMPARE(int(parsed.fieldsRead), fields);
    QCOMPARE(parsed.countsAsSaved(), saved);
    for (qsizetype i = 0; i < firstValues.size(); ++i) {
        QCOMPARE(QString::fromStdString(parsed.record.values[std::size_t(i)]), firstValues[i]);
    }
    QCOMPARE(IsSettingsRecord(bytes), ours);
}

void TestSettings::formField_data() {
    QTest::addColumn<std::string>("bytes");
    QTest::addColumn<int>("choice");
    QTest::addColumn<std::string>("written"); // the record written back: automatic writes nine fields
    const std::string nine = R"("1","2","3","4","5","6","7","8","Saved")";
    const std::string modern = nine + ",\"Modern\"\r\n";
    const auto automatic = int(zvm::FormChoice::Automatic);
    QTest::newRow("nine fields: automatic") << nine + "\r\n" << automatic << nine + "\r\n";
    QTest::newRow("modern") << modern << int(zvm::FormChoice::Modern) << modern;
    QTest::newRow("classic") << nine + ",\"Classic\"\r\n"
                             << int(zvm::FormChoice::Classic) << nine + ",\"Classic\"\r\n";
    QTest::newRow("modern on its own line") << nine + "\r\n\"Modern\"\r\n"
                                            << int(zvm::FormChoice::Modern) << modern;
    QTest::newRow("unknown tenth field: automatic") << nine + ",\"modern\"\r\n" << automatic << nine + "\r\n";
    QTest::newRow("modern in the ninth place")
        << std::string(R"("1","2","3","4","5","6","7","8","Modern")") << automatic << nine + "\r\n";
}

void TestSettings::formField() {
    QFETCH(std::string, bytes);
    QFETCH(int, choice);
    QFETCH(std::string, written);
    const ParsedSettings parsed = ParseRecord(bytes);
    QCOMPARE(int(parsed.record.formChoice), choice);
    QCOMPARE(FormatRecord(parsed.record), written);
    QVERIFY(IsSettingsRecord(written)); // every form written stays replaceable
}

void TestSettings::storable_data() {
    QTest::addColumn<int>("field"); // the value set, beside a source path of `source` bytes
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<int>("source");
    QTest::addColumn<int>("blamed"); // -1: storable
    QTest::addColumn<bool>("tooLong");
    const int room = int(kMaxReadBytes) - 33; // what the eight values of a record may hold together
    QTest::newRow("double quote") << int(OutputPath) << QByteArray("say \"cheese\".mp4") << 0
                                  << int(OutputPath) << false;
    QTest::newRow("just fits") << int(OutputPath) << QByteArray(room, 'a') << 0 << -1 << false;
    QTest::newRow("one byte over") << int(OutputPath) << QByteArray(room + 1, 'a') << 0 << int(OutputPath)
                                   << true;
    QTest::newRow("two long paths: the longer is blamed")
        << int(EncoderPath) << QByteArray(32'801, 'a') << 32'800 << int(EncoderPath) << true;
}

void TestSettings::storable() {
    QFETCH(int, field);
    QFETCH(QByteArray, value);
    QFETCH(int, source);
    QFETCH(int, blamed);
    QFETCH(bool, tooLong);
    SettingsRecord record;
    record.values[SourceVideo] = std::string(std::size_t(source), 'v');
    record.values[std::size_t(field)] = value.toStdString();
    const auto problem = CheckStorable(record);
    QCOMPARE(problem.has_value(), blamed >= 0);
    if (problem) {
        QCOMPARE(int(problem->field), blamed);
        QCOMPARE(problem->problem == StoreProblem::TooLong, tooLong);
    } else { // what may be saved reads back whole
        QCOMPARE(ParseRecord(FormatRecord(record)).record.values, record.values);
    }
}

void TestSettings::loads_data() {
    QTest::addColumn<QString>("setup");
    QTest::addColumn<int>("state");
    QTest::newRow("missing") << "none" << int(FileState::Missing);
    QTest::newRow("plain file") << "file 644" << int(FileState::Loaded);
    QTest::newRow("link to a file") << "link to 0666 file" << int(FileState::Loaded);
    QTest::newRow("directory") << "directory" << int(FileState::NotAFile);
    QTest::newRow("fifo without a writer") << "fifo" << int(FileState::NotAFile);
    QTest::newRow("link loop") << "link loop" << int(FileState::Unreadable);
    QTest::newRow("over the limit") << "too large" << int(FileState::TooLarge);
    QTest::newRow("another program's INI") << "another program's INI" << int(FileState::NotARecord);
    QTest::newRow("link to one") << "link to another program's INI" << int(FileState::NotARecord);
}

void TestSettings::loads() {
    QFETCH(QString, setup);
    QFETCH(int, state);
    QTemporaryDir dir;
    QVERIFY(Prepare(setup, dir));
    alarm(10); // a FIFO that blocked the read would otherwise hang the test
    const LoadResult loaded = LoadSettings(dir.filePath("settings.ini").toStdString());
    alarm(0);
    QCOMPARE(int(loaded.state), state);
    QCOMPARE(loaded.reason.empty(), state == int(FileState::Loaded) || state == int(FileState::Missing));
    QCOMPARE(loaded.parsed.countsAsSaved(), state == int(FileState::Loaded));
}

// A file its owner made unreadable is not a first run. Root reads it anyway, so the check runs as
// an ordinary user in a child process.
void TestSettings::unreadableForAnOrdinaryUser() {
    QTemporaryDir dir;
    QVERIFY(Prepare("file 000", dir));
    chmod(dir.path().toLocal8Bit().constData(), 0755);
    const pid_t child = fork();
    if (child == 0) {
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) {
            _exit(100);
        }
        _exit(int(LoadSettings(dir.filePath("settings.ini").toStdString()).state));
    }
    int status = 0;
    QCOMPARE(waitpid(child, &status, 0), child);
    QCOMPARE(WEXITSTATUS(status), int(FileState::Unreadable));
}

void TestSettings::saves_data() {
    QTest::addColumn<QString>("setup");
    QTest::addColumn<int>("mode");            // of the file written
    QTest::addColumn<QStringList>("entries"); // of the folder afterwards
    const QStringList alone{"settings.ini"};
    QTest::newRow("new file") << "none" << 0644 << alone;
    QTest::newRow("keeps its mode") << "file 640" << 0640 << alone;
    QTest::newRow("unreadable becomes the owner's") << "file 000" << 0600 << alone;
    QTest::newRow("never writable by others") << "file 666" << 0644 << alone;
    QTest::newRow("through a link") << "link to 0666 file" << 0644 << QStringList{"settings.ini", "target.ini"};
    QTest::newRow("stale temporaries go")
        << "stale temporaries" << 0644
        << QStringList{".settings.ini.Fresh1", ".settings.ini.notours", "settings.ini"};
}

void TestSettings::saves() {
    QFETCH(QString, setup);
    QFETCH(int, mode);
    QFETCH(QStringList, entries);
    QTemporaryDir dir;
    QVERIFY(Prepare(setup, dir));
    const std::string path = dir.filePath("settings.ini").toStdString();
    const mode_t mask = umask(022);
    const zvm::Status saved = SaveSettings(path, SettingsRecord{});
    umask(mask);
    QVERIFY2(saved.ok(), saved.text().c_str());
    QCOMPARE(ReadFile(path), FormatRecord(SettingsRecord{}));
    QCOMPARE(int(ModeOf(path)), mode);
    QCOMPARE(FolderEntries(dir.path()), entries);
    struct stat info {};
    lstat(path.c_str(), &info);
    QCOMPARE(S_ISLNK(info.st_mode), setup.startsWith("link"));

    // A save interrupted before the rename leaves the file as it was, and no temporary.
    QVERIFY(!SaveSettings(path, Record({"9", "9", "9", "9", "9", "9", "9", "9"}), [] { return false; }).ok());
    QCOMPARE(ReadFile(path), FormatRecord(SettingsRecord{}));
    QCOMPARE(FolderEntries(dir.path()), entries);
}

// targets.json: a good file is read and written back the same; a damaged one is set aside whole, with
// why, and no target of it is taken.
void TestSettings::userTargets_data() {
    QTest::addColumn<QString>("entry"); // one target's fields, or "-" for the file's whole text below
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("problem"); // empty when it is read
    const QString phone = R"("name": "my-phone", "label": "Phone - 640x360", "width": 640, "height": 360, )"
                          R"("video": "h264", "container": "mp4")";
    QTest::newRow("read") << phone + R"(, "maxFrameRate": 25, "audioBitrate": 96)" << "" << "";
    QTest::newRow("a VCD with its norm") << R"("name": "tv", "label": "TV", "width": 352, "height": 288, )"
                                            R"("pixelAspect": "12:11", "video": "vcd", "container": "mpg", "norm": "pal")"
                                         << "" << "";
    QTest::newRow("not JSON") << "-" << R"({"targets": [)" << "it is not JSON";
    QTest::newRow("no list") << "-" << R"({"target": []})" << "no list of targets";
    QTest::newRow("a size as text") << QString(phone).replace("640,", "\"640\",") << "" << "targets[0].width is missing";
    QTest::newRow("a label as a number") << QString(phone).replace("\"Phone - 640x360\"", "7") << ""
                                         << "targets[0].label is missing";
    QTest::newRow("an odd size") << QString(phone).replace("640,", "641,") << "" << "even sides";
    QTest::newRow("a size no screen has") << QString(phone).replace("640,", "1e308,") << "" << "targets[0].width is missing";
    QTest::newRow("a rate no screen has") << phone + R"(, "maxFrameRate": 1e308)" << "" << "targets[0].maxFrameRate is missing";
    QTest::newRow("a built-in name") << QString(phone).replace("my-phone", "psp-480x272") << ""
                                     << "a built-in target's";
    QTest::newRow("a name with capitals") << QString(phone).replace("my-phone", "My-Phone") << "" << "not one the tool can take";
    QTest::newRow("an unknown video word") << QString(phone).replace("h264", "hevc") << "" << "targets[0].video is not a word";
    QTest::newRow("an unknown field") << phone + R"(, "bitrate": 300)" << "" << "targets[0].bitrate is not a field";
    QTest::newRow("mpeg4 in the PSP's box") << QString(phone).replace("h264", "mpeg4").replace("\"mp4\"", "\"psp\"")
                                            << "" << "no player takes";
    QTest::newRow("beyond H.264's levels") << QString(phone).replace("640,", "4096,").replace("360,", "4096,") << ""
                                           << "larger than H.264 level 5.1";
    QTest::newRow("a name twice") << "-" << "{\"targets\": [{" + phone + "}, {" + phone + "}]}" << "Two targets are named my-phone";
    // A target based on a built-in one gives only its differences; the rest is the base's, and is
    // checked as its own (so a rate its base's AMV cannot take is refused). Kept with only those.
    QTest::newRow("based, a larger size") << R"("name": "my-ipod", "base": "ipod-320x240", "width": 640, "height": 480)"
                                          << "" << "";
    QTest::newRow("based, the name alone") << R"("name": "my-amv", "base": "amv-160x112")" << "" << "";
    QTest::newRow("based, a rate its AMV cannot take") << R"("name": "my-amv", "base": "amv-160x112", "maxFrameRate": 12)"
                                                       << "" << "divide 22050";
    QTest::newRow("based, a size its VCD norm does not have")
        << R"("name": "my-vcd", "base": "vcd-pal-352x288", "width": 320)" << "" << "its norm's size";
    QTest::newRow("based on no built-in target") << R"("name": "my-amv", "base": "my-phone")" << ""
                                                 << "targets[0].base names no built-in target";
    QTest::newRow("based, without a name") << R"("base": "amv-160x112")" << "" << "targets[0].name is missing";
}

void TestSettings::userTargets() {
    QFETCH(QString, entry);
    QFETCH(QString, file);
    QFETCH(QString, problem);
    QTemporaryDir dir;
    const QString path = dir.filePath("targets.json");
    const QByteArray bytes = (entry == "-" ? file : "{\"targets\": [{" + entry + "}]}").toUtf8();
    WriteFile(path.toStdString(), bytes.toStdString());
    const zvm::settings::LoadedTargets loaded = zvm::settings::LoadTargets(path.toStdString());
    const QStringList aside = QDir(dir.path()).entryList({"targets.json.damaged-*"});
    QVERIFY2(QString::fromStdString(loaded.problem.text()).contains(problem), loaded.problem.text().c_str());
    QCOMPARE(loaded.problem.ok(), problem.isEmpty());
    if (!problem.isEmpty()) {
        QVERIFY(loaded.targets.empty());
        QCOMPARE(aside.size(), 1);
        QCOMPARE(QString::fromStdString(loaded.asideAs.filename()), aside.first());
        QFile kept(dir.filePath(aside.first()));
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), bytes); // nothing of it lost
        QVERIFY(!QFile::exists(path));
        return;
    }
    QVERIFY(aside.isEmpty());
    QCOMPARE(loaded.targets.size(), std::size_t(1));
    QVERIFY(zvm::settings::SaveTargets(path.toStdString(), loaded.targets).ok());
    QCOMPARE(zvm::settings::LoadTargets(path.toStdString()).targets, loaded.targets);
    if (entry.contains("\"base\"")) { // written back with what it gave, no more
        QFile saved(path);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        const QJsonObject written = QJsonDocument::fromJson(saved.readAll())["targets"][0].toObject();
        QCOMPARE(written.keys(), QJsonDocument::fromJson(bytes)["targets"][0].toObject().keys());
    }
}

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
