// The queue's conflict index against the plain definition: for a table of files (names, links and
// other spellings of one file) and of items reading and writing them, every question the index answers
// is asked for every name and every item, both ways (an output over a source, a source under an
// output), and compared with a walk over the items. Then the queue itself: the refusals links make, in
// either order of adding, and how often it looks at the disk.
#include "tests/Requests.h"
#include "queue/ConflictIndex.h"
#include "queue/Queue.h"

#include <QTest>

#include <filesystem>
#include <map>

using namespace zvm::queue;
using zvm::process::FileId;

namespace {
// "name=file ..." : the names under which a file can be reached, by its number.
using Disk = std::map<std::string, std::uint64_t>;

std::string Normal(const std::string& path) {
    return std::filesystem::path(path).lexically_normal().string();
}

Disk DiskFrom(const QString& files) {
    Disk disk;
    for (const QString& file : files.split(' ', Qt::SkipEmptyParts)) {
        disk[file.section('=', 0, 0).toStdString()] = file.section('=', 1).toULongLong();
    }
    return disk;
}

// As stat() answers: any spelling of a name reaches its file.
std::optional<FileId> Identity(const Disk& disk, const std::string& path) {
    const auto found = disk.find(Normal(path));
    return found != disk.end() ? std::optional(FileId{1, found->second}) : std::nullopt;
}

struct Paths {
    std::string source;
    std::string output;
};

// "id:source>output ..."
std::map<int, Paths> ItemsFrom(const QString& items) {
    std::map<int, Paths> out;
    for (const QString& item : items.split(' ', Qt::SkipEmptyParts)) {
        const QString paths = item.section(':', 1);
        out[item.section(':', 0, 0).toInt()] = {paths.section('>', 0, 0).toStdString(),
                                                paths.section('>', 1).toStdString()};
    }
    return out;
}

bool SameFile(const Disk& disk, const std::string& a, const std::string& b) {
    const auto one = Identity(disk, a);
    return one && one == Identity(disk, b);
}

NamedFile Named(const Disk& disk, const std::string& path) {
    return {Normal(path), Identity(disk, path)};
}
} // namespace

class TestConflictIndex : public QObject {
    Q_OBJECT

private slots:
    void answersAsDefined_data();
    void answersAsDefined();
    void refusesLinkedPaths_data();
    void refusesLinkedPaths();
    void looksOncePerItem();
};

void TestConflictIndex::answersAsDefined_data() {
    QTest::addColumn<QString>("files");
    QTest::addColumn<QString>("items");
    // Then: "drop ID" or "ID:source>output" (the item renamed), one after the other.
    QTest::addColumn<QString>("changes");
    QTest::newRow("names only") << "" << "1:/v/a.avi>/o/a.mp4 2:/v/b.avi>/o/b.mp4" << "";
    QTest::newRow("one output twice, one source twice") << ""
                                                        << "1:/v/a.avi>/o/x.mp4 2:/v/a.avi>/o/x.mp4 3:/v/c.avi>/o/c.mp4"
                                                        << "";
    QTest::newRow("other spellings") << "/v/a.avi=1"
                                     << "1:/v/./a.avi>/o/a.mp4 2:/v/b.avi>/v/x/../a.avi 3:/v//c.avi>/o//a.mp4"
                                     << "";
    QTest::newRow("a symbolic link to another source") << "/v/a.avi=1 /links/a.avi=1 /v/b.avi=2"
                                                       << "1:/v/a.avi>/o/a.mp4 2:/v/b.avi>/links/a.avi" << "";
    QTest::newRow("a hard link to its own source") << "/v/a.avi=1 /v/hard.avi=1"
                                                   << "1:/v/a.avi>/v/hard.avi 2:/v/hard.avi>/o/h.mp4" << "";
    QTest::newRow("an output that exists, read by a source link") << "/o/a.mp4=5 /v/old.avi=5"
                                                                  << "1:/v/a.avi>/o/a.mp4 2:/v/old.avi>/o/b.mp4"
                                                                  << "";
    QTest::newRow("dropped items answer no more") << "/v/a.avi=1 /l/a=1"
                                                  << "1:/v/a.avi>/o/a.mp4 2:/v/b.avi>/l/a 3:/v/a.avi>/o/a.mp4"
                                                  << "drop 1;drop 3";
    QTest::newRow("renamed: the old names answer no more") << "/v/a.avi=1 /l/a=1"
                                                           << "1:/v/a.avi>/o/a.mp4 2:/v/b.avi>/l/a"
                                                           << "2:/v/b.avi>/o/b.mp4;1:/v/c.avi>/l/a";
    QTest::newRow("one item renamed over another's names") << "/v/a.avi=1"
                                                           << "1:/v/a.avi>/o/a.mp4 2:/v/b.avi>/o/b.mp4"
                                                           << "2:/v/a.avi>/o/a.mp4;drop 1;1:/v/a.avi>/o/a.mp4";
}

void TestConflictIndex::answersAsDefined() {
    QFETCH(QString, files);
    QFETCH(QString, items);
    QFETCH(QString, changes);
    const Disk disk = DiskFrom(files);
    std::map<int, Paths> now = ItemsFrom(items);
    ConflictIndex index;
    for (const auto& [id, paths] : now) {
        index.put(id, {Named(disk, paths.source), Named(disk, paths.output)});
    }
    for (const QString& change : changes.split(';', Qt::SkipEmptyParts)) {
        if (change.startsWith("drop ")) {
            now.erase(change.mid(5).toInt());
            index.drop(change.mid(5).toInt());
        } else {
            for (const auto& [id, paths] : ItemsFrom(change)) {
                now[id] = paths;
                index.put(id, {Named(disk, paths.source), Named(disk, paths.output)});
            }
        }
    }
    // Every name any row uses, in every spelling the rows use, and the names of the disk.
    std::vector<std::string> names;
    for (const auto& [id, paths] : ItemsFrom(items + " " + QString(changes).replace(';', ' ').remove("drop"))) {
        names.insert(names.end(), {paths.source, paths.output});
    }
    for (const auto& [name, file] : disk) {
        names.push_back(name);
    }
    for (const std::string& name : names) {
        for (int except = 0; except <= 4; ++except) {
            bool read = false;
            bool written = false;
            std::vector<int> writers;
            for (const auto& [id, paths] : now) {
                if (id == except) {
                    continue;
                }
                read = read || Normal(paths.source) == Normal(name) || SameFile(disk, paths.source, name);
                written = written || Normal(paths.output) == Normal(name);
                if (Normal(paths.output) == Normal(name) || SameFile(disk, name, paths.output)) {
                    writers.push_back(id);
                }
            }
            std::vector<int> found = index.writersOver(except, Named(disk, name));
            std::sort(found.begin(), found.end());
            const QByteArray where = QByteArray::fromStdString(name) + " except " + QByteArray::number(except);
            QVERIFY2(index.readByAnother(except, Named(disk, name)) == read, where);
            QVERIFY2(index.writtenByAnother(except, Normal(name)) == written, where);
            QVERIFY2(found == writers, where);
        }
    }
}

// Both orders of adding: an item whose output reaches another's source through a link needs attention,
// whichever came first; a source that is its own output under another name too.
void TestConflictIndex::refusesLinkedPaths_data() {
    QTest::addColumn<QString>("files");
    QTest::addColumn<QString>("items"); // added in this order, then each one's state and reason
    QTest::addColumn<QString>("after");
    const QString disk = "/v/a.avi=1 /v/b.avi=2 /links/b=2 /v/hard-a.avi=1";
    QTest::newRow("output a link to a later source")
        << disk << "1:/v/a.avi>/links/b 2:/v/b.avi>/o/b.mp4" << "needs-attention(other) waiting";
    QTest::newRow("output a link to an earlier source")
        << disk << "2:/v/b.avi>/o/b.mp4 1:/v/a.avi>/links/b" << "waiting needs-attention(other)";
    QTest::newRow("output a hard link to its own source")
        << disk << "1:/v/a.avi>/v/hard-a.avi" << "needs-attention(own)";
    QTest::newRow("output its own source spelt otherwise") << disk << "1:/v/a.avi>/v/x/../a.avi"
                                                           << "needs-attention(own)";
    QTest::newRow("one output spelt twice") << disk << "1:/v/a.avi>/o/x.mp4 2:/v/b.avi>/o/./x.mp4"
                                            << "waiting needs-attention(shared)";
    QTest::newRow("unrelated") << disk << "1:/v/a.avi>/o/a.mp4 2:/v/b.avi>/o/b.mp4" << "waiting waiting";
}

void TestConflictIndex::refusesLinkedPaths() {
    QFETCH(QString, files);
    QFETCH(QString, items);
    QFETCH(QString, after);
    const Disk disk = DiskFrom(files);
    Queue queue([&disk](const std::string& path) { return Identity(disk, path); });
    for (const QString& item : items.split(' ')) {
        queue.addReady(ReadyRequest(item.section(':', 1).section('>', 0, 0).toStdString(),
                                    item.section('>', 1).toStdString()),
                       zvm::CommandStyle::Modern);
    }
    const std::map<std::string, QString> reasons{
        {kOutputIsOtherSource, "(other)"}, {kOutputIsSource, "(own)"}, {kSharedOutput, "(shared)"}};
    QStringList states;
    for (const QueueItem& it : queue.items()) {
        const auto reason = reasons.find(it.reason);
        states << QString::fromUtf8(StateWord(it.state)) + (reason != reasons.end() ? reason->second : "");
    }
    QCOMPARE(states.join(' '), after);
}

// Adding or restoring n items looks at each item's two paths once, not at every other item's.
void TestConflictIndex::looksOncePerItem() {
    int looks = 0;
    const auto counting = [&looks](const std::string&) -> std::optional<FileId> {
        ++looks;
        return std::nullopt;
    };
    Queue first(counting);
    constexpr int kItems = 200;
    for (int i = 0; i < kItems; ++i) {
        first.addReady(ReadyRequest("/v/" + std::to_string(i) + ".avi", "/o/" + std::to_string(i) + ".mp4"),
                       zvm::CommandStyle::Modern);
    }
    QCOMPARE(looks, 2 * kItems);
    looks = 0;
    Queue restored(counting);
    restored.restore(first.unfinished());
    QCOMPARE(int(restored.items().size()), kItems);
    QCOMPARE(looks, 2 * kItems);
}

QTEST_APPLESS_MAIN(TestConflictIndex)
#include "tst_conflictindex.moc"
