// The system's edge: the atomic writer, the small-file reader, setting a damaged file aside, and
// removing only what a run wrote.
#include "files/AtomicFile.h"
#include "files/KeptFile.h"
#include "files/WrittenFile.h"

#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

class TestFiles : public QObject {
    Q_OBJECT

private slots:
    void writesWholeOrNotAtAll_data();
    void writesWholeOrNotAtAll();
    void readsOnlySmallPlainFiles_data();
    void readsOnlySmallPlainFiles();
    void setsDamagedFilesAside();
    void removesOnlyWhatARunWrote_data();
    void removesOnlyWhatARunWrote();
    void partialNamesAreBesideWhatTheyBecome_data();
    void partialNamesAreBesideWhatTheyBecome();
};

namespace {
std::string Content(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void Write(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::size_t Entries(const fs::path& folder) {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}
} // namespace

void TestFiles::writesWholeOrNotAtAll_data() {
    QTest::addColumn<QString>("before");   // "none", "file" (mode 0666), "link" (to a file beside it)
    QTest::addColumn<bool>("interrupted"); // the write fails between writing and renaming
    QTest::addColumn<bool>("folder");      // false: the folder is missing
    QTest::addColumn<bool>("ok");
    QTest::newRow("a new file") << "none" << false << true << true;
    QTest::newRow("over a file") << "file" << false << true << true;
    QTest::newRow("through a link") << "link" << false << true << true;
    QTest::newRow("interrupted over a file") << "file" << true << true << false;
    QTest::newRow("interrupted, new") << "none" << true << true << false;
    QTest::newRow("no folder") << "none" << false << false << false;
}

// The target holds the new bytes or the old ones, a link stays a link, nobody else may write the
// file, and no temporary stays behind.
void TestFiles::writesWholeOrNotAtAll() {
    QFETCH(QString, before);
    QFETCH(bool, interrupted);
    QFETCH(bool, folder);
    QFETCH(bool, ok);
    QTemporaryDir dir;
    const fs::path root = dir.path().toStdString();
    const fs::path path = folder ? root / "settings.ini" : root / "gone" / "settings.ini";
    const fs::path real = before == "link" ? root / "real.ini" : path;
    if (before != "none") {
        Write(real, "old");
        fs::permissions(real, fs::perms(0666));
        if (before == "link") {
            fs::create_symlink(real, path);
        }
    }
    const zvm::Status written = zvm::files::WriteAtomically(path, "new", [interrupted] { return !interrupted; });
    QCOMPARE(written.ok(), ok);
    QCOMPARE(written.ok() ? zvm::FailureKind::None : zvm::FailureKind::Io, written.kind());
    QCOMPARE(Content(real), ok ? std::string("new") : before == "none" ? std::string() : std::string("old"));
    QCOMPARE(fs::is_symlink(path), before == "link");
    if (ok) {
        struct stat info {};
        QCOMPARE(::stat(path.c_str(), &info), 0);
        QCOMPARE(info.st_mode & 0022, 0U); // neither the group nor others may write it
        QCOMPARE(info.st_mode & 0600, 0600U);
    }
    QCOMPARE(Entries(root), std::size_t(before == "link" ? 2 : before == "file" || ok ? 1 : 0)); // no temporary
}

void TestFiles::readsOnlySmallPlainFiles_data() {
    QTest::addColumn<QString>("kind"); // "file", "none", "fifo", "folder"
    QTest::addColumn<int>("bytes");
    QTest::addColumn<int>("state"); // SmallFile::State
    using State = zvm::files::SmallFile::State;
    QTest::newRow("a small file") << "file" << 10 << int(State::Read);
    QTest::newRow("at the limit") << "file" << 64 << int(State::Read);
    QTest::newRow("over the limit") << "file" << 65 << int(State::Damaged);
    QTest::newRow("an empty file") << "file" << 0 << int(State::Read);
    QTest::newRow("missing") << "none" << 0 << int(State::Missing);
    QTest::newRow("a pipe, which would hang a read") << "fifo" << 0 << int(State::Damaged);
    QTest::newRow("a folder") << "folder" << 0 << int(State::Damaged);
}

void TestFiles::readsOnlySmallPlainFiles() {
    QFETCH(QString, kind);
    QFETCH(int, bytes);
    QFETCH(int, state);
    QTemporaryDir dir;
    const fs::path path = dir.path().toStdString() + "/queue.json";
    const std::string content(static_cast<std::size_t>(bytes), 'x');
    if (kind == "file") {
        Write(path, content);
    } else if (kind == "fifo") {
        QCOMPARE(::mkfifo(path.c_str(), 0600), 0);
    } else if (kind == "folder") {
        fs::create_directory(path);
    }
    const zvm::files::SmallFile read = zvm::files::ReadSmallFile(path, 64);
    QCOMPARE(int(read.state), state);
    QCOMPARE(read.bytes, state == int(zvm::files::SmallFile::State::Read) ? content : std::string());
    QCOMPARE(read.reason.empty(), state != int(zvm::files::SmallFile::State::Damaged));
}

// Set aside beside itself under a new name each time, never over another, its bytes kept.
void TestFiles::setsDamagedFilesAside() {
    QTemporaryDir dir;
    const fs::path path = dir.path().toStdString() + "/targets.json";
    std::vector<fs::path> aside;
    for (const char* bytes : {"first", "second", "third"}) {
        Write(path, bytes);
        fs::path tried;
        const auto moved = zvm::files::SetAsideDamaged(path, tried);
        QVERIFY(moved.has_value());
        QVERIFY(!fs::exists(path));
        QCOMPARE(moved->parent_path(), path.parent_path());
        QVERIFY2(moved->filename().string().starts_with("targets.json.damaged-"), moved->c_str());
        QCOMPARE(Content(*moved), std::string(bytes));
        aside.push_back(*moved);
    }
    QCOMPARE(Entries(path.parent_path()), std::size_t(3)); // in the same second: "-2", "-3"
    QVERIFY(aside[0] != aside[1] && aside[1] != aside[2] && aside[0] != aside[2]);

    fs::path tried;
    QVERIFY(!zvm::files::SetAsideDamaged(path, tried).has_value()); // nothing there to move
    QVERIFY(!tried.empty());
}

void TestFiles::removesOnlyWhatARunWrote_data() {
    QTest::addColumn<QString>("before"); // what stood there: "none", "file", "folder", "link"
    QTest::addColumn<QString>("run");    // what the run did: "nothing", "wrote", "replaced"
    QTest::addColumn<bool>("removed");
    QTest::newRow("created by the run") << "none" << "wrote" << true;
    QTest::newRow("nothing written") << "none" << "nothing" << false;
    QTest::newRow("untouched file") << "file" << "nothing" << false;
    QTest::newRow("file written to") << "file" << "wrote" << true;
    QTest::newRow("file replaced") << "file" << "replaced" << true;
    QTest::newRow("a folder stays") << "folder" << "nothing" << false;
    QTest::newRow("a link stays") << "link" << "nothing" << false;
}

void TestFiles::removesOnlyWhatARunWrote() {
    QFETCH(QString, before);
    QFETCH(QString, run);
    QFETCH(bool, removed);
    QTemporaryDir dir;
    const std::string path = dir.path().toStdString() + "/out.mp4";
    if (before == "file") {
        Write(path, "the user's own file");
    } else if (before == "folder") {
        fs::create_directory(path);
    } else if (before == "link") {
        Write(path + ".real", "x");
        fs::create_symlink(path + ".real", path);
    }
    const auto stamp = zvm::files::StampOf(path);
    QCOMPARE(stamp.has_value(), before != "none");
    if (run == "wrote") {
        std::ofstream(path, std::ios::binary | std::ios::app) << "the run's bytes";
    } else if (run == "replaced") {
        Write(path + ".new", "the run's bytes");
        fs::rename(path + ".new", path);
    }
    QCOMPARE(zvm::files::RemoveWritten(path, stamp), removed);
    QCOMPARE(fs::exists(fs::symlink_status(path)), !removed && (before != "none" || run != "nothing"));
}

// The hidden name a run writes, and where publishing it puts the file: through a link, the file it
// names is replaced and the link stays; a device is never renamed onto.
void TestFiles::partialNamesAreBesideWhatTheyBecome_data() {
    QTest::addColumn<QString>("output"); // in the test's folder; "link" names "real/clip.mp4" there
    QTest::addColumn<QString>("partial");
    QTest::addColumn<QString>("published"); // where the file is once published
    QTest::newRow("plain") << "clip.mp4" << ".zvm-partial.clip.mp4" << "clip.mp4";
    QTest::newRow("no extension") << "clip" << ".zvm-partial.clip" << "clip";
    QTest::newRow("hidden already") << ".clip.mpg" << ".zvm-partial..clip.mpg" << ".clip.mpg";
    QTest::newRow("two dots") << "my.clip.mp4" << ".zvm-partial.my.clip.mp4" << "my.clip.mp4";
    QTest::newRow("through a link") << "link" << "real/.zvm-partial.clip.mp4" << "real/clip.mp4";
    QTest::newRow("a device") << "/dev/null" << "" << "";
}

void TestFiles::partialNamesAreBesideWhatTheyBecome() {
    QFETCH(QString, output);
    QFETCH(QString, partial);
    QFETCH(QString, published);
    QTemporaryDir dir;
    const fs::path folder = dir.path().toStdString();
    fs::create_directory(folder / "real");
    fs::create_symlink("real/clip.mp4", folder / "link");
    const fs::path asked = folder / output.toStdString();
    const std::string written = zvm::files::PartialPathFor(asked.string());
    QCOMPARE(QString::fromStdString(written), partial.isEmpty() ? QString() : dir.filePath(partial));
    if (partial.isEmpty()) {
        return;
    }
    QVERIFY(zvm::files::IsPartialPath(written));
    QVERIFY(!zvm::files::IsPartialPath(asked.string()));
    Write(written, "whole");
    Write(asked, "old"); // through the link, too
    QCOMPARE(zvm::files::Publish(written, zvm::files::FileNamedBy(asked.string())), std::string());
    QCOMPARE(Content(folder / published.toStdString()), std::string("whole"));
    QVERIFY(!fs::exists(written));
    QCOMPARE(fs::is_symlink(folder / "link"), true);
}

QTEST_APPLESS_MAIN(TestFiles)
#include "tst_files.moc"
