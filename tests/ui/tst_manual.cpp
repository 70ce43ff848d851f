// The user manual, run once per locale (C, de_DE, es_ES) by CTest: F1 opens the page of the window's
// language in the browser, a manual that cannot be found is said, the page is chosen by language
// and place, the built page of the run's language names every caption of the windows it describes,
// and every option of the command-line tool is in its man page and in each language's manual.
#include "tests/FakeOutside.h"
#include "ui/EncoderWindow.h"
#include "ui/Manual.h"
#include "queue/QueueRunner.h"
#include "ui/QueueWindow.h"
#include "ui/Translations.h"
#include "tests/ui/WindowFixture.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QRegularExpression>
#include <QTableView>
#include <QTextDocumentFragment>

class TestManual : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void f1OpensThePageOfTheLanguage();
    void missingManualIsSaid();
    void pageFollowsLanguageAndPlace_data();
    void pageFollowsLanguageAndPlace();
    void manualNamesEveryCaption_data();
    void manualNamesEveryCaption();
    void everyToolOptionIsDocumented_data();
    void everyToolOptionIsDocumented();

private:
    QString language_; // the manual's language for the run's locale: en, de or es
};

namespace {
QByteArray Read(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// What a reader sees of a page: its text without markup, entities read, blanks as one.
QString PageText(const QString& path) {
    return QTextDocumentFragment::fromHtml(QString::fromUtf8(Read(path))).toPlainText().simplified();
}

QString BuiltPage(const QString& language) {
    return QStringLiteral(MANUAL_DIR "/%1/index.html").arg(language);
}

// A caption as running text names it: without its access key's "&" and a closing "...", "…" or ":".
QString AsNamed(QString caption) {
    caption.replace(QRegularExpression("&(.)"), "\\1");
    caption.remove(QRegularExpression("\\s*(\\.\\.\\.|…|:)$"));
    return caption.trimmed();
}

// The captions a user reads in the main window (boxes, groups, buttons, menus and their entries),
// and the buttons and column headings of the queue and encoder windows.
QStringList Captions(QWidget* main, const QList<QWidget*>& others) {
    QStringList captions;
    for (QLabel* label : main->findChildren<QLabel*>()) {
        captions << label->text();
    }
    for (QGroupBox* group : main->findChildren<QGroupBox*>()) {
        captions << group->title();
    }
    for (QAction* action : main->findChildren<QAction*>()) {
        captions << action->text();
    }
    for (QWidget* window : QList<QWidget*>{main} + others) {
        for (QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
            captions << button->text();
        }
        for (QTableView* table : window->findChildren<QTableView*>()) {
            for (int column = 0; column < table->model()->columnCount(); ++column) {
                captions << table->model()->headerData(column, Qt::Horizontal).toString();
            }
        }
    }
    QStringList named;
    for (const QString& caption : captions) {
        const QString name = AsNamed(caption);
        if (name.size() > 1 && !named.contains(name)) { // "X" between two sizes names nothing
            named << name;
        }
    }
    return named;
}

// Builds a folder of manual pages from a list of words: a language ("de") gets its page, a language
// with "!" ("de!") only its folder; "-" leaves the whole folder out. False on any other word.
bool MakeFolder(const QString& folder, const QString& words) {
    if (words == "-") {
        return true;
    }
    QDir().mkpath(folder);
    for (const QString& word : words.split(' ', Qt::SkipEmptyParts)) {
        if (!QRegularExpression("^[a-z]{2}!?$").match(word).hasMatch()) {
            return false;
        }
        const QString language = word.left(2);
        QDir(folder).mkpath(language);
        if (!word.endsWith('!')) {
            QFile page(QDir(folder).filePath(language + "/index.html"));
            if (!page.open(QIODevice::WriteOnly)) {
                return false;
            }
        }
    }
    return true;
}

// A man page's text as it reads: font changes gone, escaped hyphens plain.
QString ManText(const QByteArray& roff) {
    QString text = QString::fromUtf8(roff);
    text.remove(QRegularExpression(R"(\\f(\[[A-Z]*\]|.))"));
    text.replace("\\-", "-");
    return text;
}

bool NamesOption(const QString& text, const QString& option) {
    return text.contains(
        QRegularExpression("(?<![\\w-])" + QRegularExpression::escape(option) + "(?![\\w-])"));
}
} // namespace

void TestManual::initTestCase() {
    InstallTranslations(*qApp);
    const QHash<QLocale::Language, QString> languages{
        {QLocale::C, "en"}, {QLocale::English, "en"}, {QLocale::German, "de"}, {QLocale::Spanish, "es"}};
    QVERIFY2(languages.contains(QLocale().language()), qPrintable("no manual for " + QLocale().name()));
    language_ = languages.value(QLocale().language());
}

// F1, through the window system as a key press arrives, opens the built page of the window's
// language as a local file; the designed Help entry keeps its first place.
void TestManual::f1OpensThePageOfTheLanguage() {
    WindowFixture fx;
    frmZCM& w = fx.start();
    QCOMPARE(Ui(w).mnuHelp->actions(), (QList<QAction*>{Ui(w).mnuWebsite, Ui(w).mnuManual}));
    QCOMPARE(Ui(w).mnuManual->shortcut(), QKeySequence(Qt::Key_F1));
    QTest::keyClick(w.windowHandle(), Qt::Key_F1);
    QTRY_COMPARE(fx.platform.urls.size(), 1);
    const QUrl url = fx.platform.urls.first();
    QVERIFY2(url.isLocalFile(), qPrintable(url.toString()));
    const QFileInfo page(url.toLocalFile());
    QVERIFY2(page.isFile(), qPrintable(page.filePath()));
    QCOMPARE(page.canonicalFilePath(), QFileInfo(BuiltPage(language_)).canonicalFilePath());
    QVERIFY(Read(page.filePath()).contains(QStringLiteral("<html lang=\"%1\">").arg(language_).toUtf8()));
    QVERIFY(fx.platform.messages.isEmpty());
}

void TestManual::missingManualIsSaid() {
    WindowFixture fx;
    frmZCM& w = fx.start();
    const QString empty = fx.dir.filePath("empty");
    QDir().mkpath(empty);
    const QString missing = fx.dir.filePath("missing");
    w.lookForManualIn({empty, missing});
    Ui(w).mnuManual->trigger();
    QVERIFY(fx.platform.urls.isEmpty());
    QCOMPARE(fx.platform.messages.size(), 1);
    QCOMPARE(fx.platform.messages[0].title, frmZCM::tr("Manual"));
    QVERIFY2(fx.platform.messages[0].prompt.contains(empty) &&
                 fx.platform.messages[0].prompt.contains(missing),
             qPrintable(fx.platform.messages[0].prompt));
}

void TestManual::pageFollowsLanguageAndPlace_data() {
    QTest::addColumn<QString>("installed"); // words for MakeFolder
    QTest::addColumn<QString>("built");
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("expected"); // "installed de", "built en" or "none"
    const char* all = "en de es";
    const struct {
        const char* name;
        const char* installed;
        const char* built;
        const char* locale;
        const char* expected;
    } rows[] = {
        {"German", all, all, "de_DE", "installed de"},
        {"Spanish of Mexico", all, all, "es_MX", "installed es"},
        {"English", all, all, "en_GB", "installed en"},
        {"French has none: English", all, all, "fr_FR", "installed en"},
        {"C locale: English", all, all, "C", "installed en"},
        {"nothing installed: the built one", "-", all, "de_DE", "built de"},
        {"an empty installed folder", "", all, "es_ES", "built es"},
        {"the installed copy comes first", "en", "en de", "de_DE", "installed en"},
        {"a language folder without its page", "en de!", "-", "de_DE", "installed en"},
        {"no English to fall back on", "de", "-", "fr_FR", "none"},
        {"nothing anywhere", "-", "-", "de_DE", "none"},
    };
    for (const auto& row : rows) {
        QTest::newRow(row.name) << row.installed << row.built << row.locale << row.expected;
    }
}

void TestManual::pageFollowsLanguageAndPlace() {
    QFETCH(QString, installed);
    QFETCH(QString, built);
    QFETCH(QString, locale);
    QFETCH(QString, expected);
    QTemporaryDir root;
    const QString installedFolder = root.filePath("installed");
    const QString builtFolder = root.filePath("built");
    QVERIFY2(MakeFolder(installedFolder, installed), qPrintable("unknown word in: " + installed));
    QVERIFY2(MakeFolder(builtFolder, built), qPrintable("unknown word in: " + built));
    const QStringList expectedWords = expected.split(' ');
    QVERIFY2(expected == "none" ||
                 (expectedWords.size() == 2 && QStringList{"installed", "built"}.contains(expectedWords[0])),
             qPrintable("unknown expectation: " + expected));
    const QString page = ManualPage({installedFolder, builtFolder}, QLocale(locale));
    QCOMPARE(page, expected == "none"
                       ? QString()
                       : QFileInfo(root.filePath(expectedWords[0] + "/" + expectedWords[1] + "/index.html"))
                             .absoluteFilePath());
}

void TestManual::manualNamesEveryCaption_data() {
    QTest::addColumn<QString>("caption");
    FakePlatform platform;
    FakeOutside outside;
    frmZCM main(platform, outside);
    QueueRunner runner(outside);
    QueueWindow queue(runner, platform);
    EncoderWindow encoder(platform, outside, std::make_unique<FakeJob>(),
                          ConvertedFile{"ffmpeg", "a.mp4", "ffmpeg", {}});
    const QStringList captions = Captions(&main, {&queue, &encoder});
    for (const QString& caption : captions) {
        QTest::newRow(qPrintable(caption)) << caption;
    }
    QVERIFY(captions.size() > 50);
}

// A chapter left out, or a caption renamed without its manual, fails here.
void TestManual::manualNamesEveryCaption() {
    QFETCH(QString, caption);
    static const QString text = PageText(BuiltPage(language_));
    QVERIFY2(!text.isEmpty(), qPrintable("no built manual at " + BuiltPage(language_)));
    const QRegularExpression word("(?<!\\w)" + QRegularExpression::escape(caption) + "(?!\\w)",
                                  QRegularExpression::UseUnicodePropertiesOption);
    QVERIFY2(text.contains(word), qPrintable(caption + " is not in the " + language_ + " manual"));
}

void TestManual::everyToolOptionIsDocumented_data() {
    QTest::addColumn<QString>("option");
    QProcess tool;
    tool.start(CLI_PATH, {"--help"});
    QVERIFY(tool.waitForFinished(30000));
    const QString help = QString::fromUtf8(tool.readAllStandardOutput());
    QStringList options;
    for (const auto& match : QRegularExpression("(?<![\\w-])(--?[a-z][a-z-]*)").globalMatch(help)) {
        if (!options.contains(match.captured(1))) {
            options << match.captured(1);
            QTest::newRow(qPrintable(match.captured(1))) << match.captured(1);
        }
    }
    QVERIFY2(options.size() > 15, qPrintable(help));
}

// The options section of the man page comes from the English manual; each translation keeps it whole.
void TestManual::everyToolOptionIsDocumented() {
    QFETCH(QString, option);
    static const QString man = ManText(Read(MAN_DIR "/zarnik-video-maker-cli.1"));
    QVERIFY2(NamesOption(man, option), qPrintable(option + " is not in the man page"));
    for (const QString& language : QStringList{"en", "de", "es"}) {
        QVERIFY2(NamesOption(PageText(BuiltPage(language)), option),
                 qPrintable(option + " is not in the " + language + " manual"));
    }
}

QTEST_MAIN(TestManual)
#include "tst_manual.moc"
