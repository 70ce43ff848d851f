#include "process/CommandSplit.h"
#include "process/ProgramLookup.h"

#include <QTest>

#include <set>

using namespace zvm::process;

class TestLookup : public QObject {
    Q_OBJECT

private slots:
    void splits_data();
    void splits();
    void resolves_data();
    void resolves();
};

namespace {
QStringList Texts(const std::vector<Word>& words) {
    QStringList texts;
    for (const Word& w : words) {
        texts << QString::fromStdString(w.text);
    }
    return texts;
}

// A machine with just these executables (and these other files).
ProgramFinder FakeMachine(std::set<std::string> executables, std::set<std::string> others = {}) {
    return {
        [executables](const std::string& p) { return executables.count(p) > 0; },
        [executables, others](const std::string& p) { return executables.count(p) + others.count(p) > 0; },
        "/usr/local/bin:/usr/bin"};
}
} // namespace

void TestLookup::splits_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<QStringList>("words");

    QTest::newRow("blanks and tabs") << "ffmpeg  -y\t-i x" << QStringList{"ffmpeg", "-y", "-i", "x"};
    QTest::newRow("quoted path with blanks")
        << R"(ff -i "my clip.avi" "out put.mp4")" << QStringList{"ff", "-i", "my clip.avi", "out put.mp4"};
    QTest::newRow("quotes join the word around them") << R"(a"b c"d)" << QStringList{"ab cd"};
    QTest::newRow("shell characters are text")
        << R"x(ff "$(rm -rf ~)" `id` ; | & < > * ? ~ \ 'q')x"
        << QStringList{"ff", "$(rm -rf ~)", "`id`", ";", "|", "&", "<", ">", "*", "?", "~", "\\", "'q'"};
    QTest::newRow("empty quotes are an empty word") << R"(ff "" x)" << QStringList{"ff", "", "x"};
    QTest::newRow("two quotes in quotes are one") << R"(ff "a""b.mp4" """")" << QStringList{"ff", "a\"b.mp4", "\""};
    QTest::newRow("unclosed quote runs to the end") << R"(ff "a b)" << QStringList{"ff", "a b"};
    QTest::newRow("leading and trailing blanks") << "  ff  " << QStringList{"ff"};
    QTest::newRow("empty") << "" << QStringList{};
    QTest::newRow("non-ascii") << QString::fromUtf8("ff \"vidéo ü.avi\"")
                               << QStringList{"ff", QString::fromUtf8("vidéo ü.avi")};
}

void TestLookup::splits() {
    QFETCH(QString, line);
    QFETCH(QStringList, words);
    QCOMPARE(Texts(SplitCommandLine(line.toStdString())), words);
}

void TestLookup::resolves_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("encoder"); // the encoder box's text
    QTest::addColumn<QString>("program"); // empty when no program is found
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("error");

    const QString clip = R"( -y -i "/videos/clip.mp4" -r 30000/1001)";
    const QStringList args{"-y", "-i", "/videos/clip.mp4", "-r", "30000/1001"};
    QTest::newRow("bare name on the search path") << "ffmpeg" + clip << "ffmpeg"
                                                  << "/usr/bin/ffmpeg" << args << QString();
    QTest::newRow("absolute path") << "/opt/ff/ffmpeg" + clip << "/opt/ff/ffmpeg"
                                   << "/opt/ff/ffmpeg" << args << QString();
    QTest::newRow("unquoted folder with blanks")
        << "/opt/My  Tools/ffmpeg" + clip << "/opt/My  Tools/ffmpeg"
        << "/opt/My  Tools/ffmpeg" << args << QString();
    QTest::newRow("quoted in the encoder box")
        << R"("/opt/My  Tools/ffmpeg")" + clip << R"("/opt/My  Tools/ffmpeg")"
        << "/opt/My  Tools/ffmpeg" << args << QString();
    QTest::newRow("the encoder wins over a shadowing prefix")
        << "/x/my tools/ffmpeg" + clip << "/x/my tools/ffmpeg"
        << "/x/my tools/ffmpeg" << args << QString();
    QTest::newRow("a missing encoder is not replaced by its prefix")
        << "/x/my old/ffmpeg" + clip << "/x/my old/ffmpeg" << QString() << QStringList{}
        << "no such program was found";
    QTest::newRow("empty encoder box: nothing planted runs")
        << clip << "" << QString() << QStringList{} << "no encoder is named: the box for its location is empty";
    QTest::newRow("bare name not on the search path")
        << "nosuch" + clip << "nosuch" << QString() << QStringList{}
        << "no program of that name was found on the search path";
    QTest::newRow("not executable") << "/home/u/notes.txt" + clip << "/home/u/notes.txt" << QString()
                                    << QStringList{} << "it is not an executable program";
    QTest::newRow("1 MB first word")
        << QString(1 << 20, 'a') + clip << QString(1 << 20, 'a') << QString() << QStringList{}
        << "the program's name is longer than the system allows";
    QTest::newRow("no encoder text: absolute words joined, longest wins")
        << "/x/my tools/ffmpeg" + clip << "" << "/x/my tools/ffmpeg" << args << QString();
    QTest::newRow("no encoder text: a relative joined name is never looked up")
        << "-y -i /videos/clip.mp4" << "" << QString() << QStringList{}
        << "no program of that name was found on the search path";
    QTest::newRow("empty command") << "   " << "" << QString() << QStringList{} << "the command is empty";
}

void TestLookup::resolves() {
    QFETCH(QString, line);
    QFETCH(QString, encoder);
    QFETCH(QString, program);
    QFETCH(QStringList, arguments);
    QFETCH(QString, error);

    // Programs planted in the working folder under the names a joined lookup would try.
    const ProgramFinder machine = FakeMachine({"/usr/bin/ffmpeg", "/opt/ff/ffmpeg", "/opt/My  Tools/ffmpeg",
                                               "/x/my", "/x/my tools/ffmpeg", "./-y", "-y -i /videos/clip.mp4",
                                               "nosuch -y -i /videos/clip.mp4"},
                                              {"/home/u/notes.txt"});
    const auto r = ResolveCommandLine(line.toStdString(), encoder.toStdString(), machine);
    QCOMPARE(QString::fromStdString(r.status().message()), error);
    QCOMPARE(QString::fromStdString(r.ok() ? r.value().program : std::string()), program);
    if (r.ok()) {
        QStringList args;
        for (const auto& a : r.value().arguments) {
            args << QString::fromStdString(a);
        }
        QCOMPARE(args, arguments);
    } else if (!encoder.isEmpty() && encoder.size() < 100) {
        QCOMPARE(QString::fromStdString(r.status().detail()),
                 encoder); // the message names what was looked for
    }
}

QTEST_GUILESS_MAIN(TestLookup)
#include "tst_lookup.moc"
