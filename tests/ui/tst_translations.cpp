// The window in the user's language, run once per locale (C, de_DE, es_ES) by CTest: every caption,
// menu entry and tooltip of every window is translated (the designed English stays exact under C),
// access keys stay unique in each window and menu, and the translation files are complete and
// current with the sources.
#include "core/Text.h"
#include "tests/FakeOutside.h"
#include "ui/EncoderWindow.h"
#include "tests/ui/FakePlatform.h"
#include "ui/PreviewWindow.h"
#include "queue/QueueRunner.h"
#include "ui/QueueWindow.h"
#include "ui/Translated.h"
#include "ui/Translations.h"
#include "ui/frmZCM.h"

#include <QAbstractButton>
#include <QAction>
#include <QPushButton>
#include <QApplication>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QProcess>
#include <QRegularExpression>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QDirIterator>
#include <QXmlStreamReader>

class TestTranslations : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void everyTextIsInTheLanguage();
    void everyTextBelowTheWindowIsInTheLanguage();
    void accessKeysAreUnique();
    void filesAreComplete();
    void filesAreCurrent();
    void pluralsFollowTheCount_data();
    void pluralsFollowTheCount();

private:
    QList<QWidget*> windows();

    FakePlatform platform_;
    FakeOutside outside_;
    std::unique_ptr<frmZCM> main_;
    std::unique_ptr<EncoderWindow> encoder_;
    std::unique_ptr<QueueRunner> runner_;
    std::unique_ptr<QueueWindow> queue_;
    std::unique_ptr<PreviewWindow> preview_;
    QString language_;     // "" under C
    QStringList designed_; // the main window's texts with no translation installed
};

namespace {
// A .ts file's English sources, each with its translation (empty while it is unfinished).
QHash<QString, QString> Translations(const QString& file) {
    QFile ts(file);
    ts.open(QIODevice::ReadOnly);
    QXmlStreamReader xml(&ts);
    QHash<QString, QString> translations;
    QString source;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) {
            continue;
        }
        if (xml.name() == QLatin1String("source")) {
            source = xml.readElementText();
        } else if (xml.name() == QLatin1String("translation")) {
            const bool unfinished = xml.attributes().value("type") == QLatin1String("unfinished");
            const QString text = xml.readElementText(QXmlStreamReader::IncludeChildElements); // plural forms too
            translations.insert(source, unfinished ? QString() : text);
        }
    }
    return translations;
}

QString FileOf(const QString& language) {
    return QStringLiteral(TRANSLATIONS_DIR "/zarnik-video-maker_%1.ts").arg(language);
}

// Every text a user reads in the widget: caption, tooltip, accessible name, table headings.
QStringList TextsOf(QWidget* widget) {
    QStringList texts{widget->toolTip(), widget->accessibleName()};
    if (auto* label = qobject_cast<QLabel*>(widget)) {
        texts << label->text();
    } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        texts << button->text();
    } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
        texts << group->title();
    } else if (auto* table = qobject_cast<QTableView*>(widget)) {
        for (int column = 0; column < table->model()->columnCount(); ++column) {
            texts << table->model()->headerData(column, Qt::Horizontal).toString();
        }
    }
    return texts;
}

// Every text of a window, its widgets and its menus.
QStringList Shown(QWidget* window) {
    QStringList shown;
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        shown << TextsOf(widget);
    }
    for (QAction* action : window->findChildren<QAction*>()) {
        shown << action->text() << action->toolTip();
    }
    return shown;
}

// Every text the layers below the window mark for translation, as the compiler reads it, with the
// context it is marked under: ZVM_TEXT("zvm", "...") and QCoreApplication::translate("zvm", "...").
QList<std::pair<QString, QString>> MarkedTexts() {
    static const QRegularExpression marked(
        R"re((?:ZVM_TEXT|QCoreApplication::translate)\(\s*(?:"([^"]*)"\s*,\s*)?((?:"(?:[^"\\]|\\.)*"\s*)+)\))re");
    static const QRegularExpression piece(R"re("((?:[^"\\]|\\.)*)")re");
    QList<std::pair<QString, QString>> texts;
    for (const char* folder : {"core", "files", "settings", "process", "media", "queue", "cli"}) {
        QDirIterator files(QStringLiteral(SOURCE_DIR "/") + folder, {"*.cpp", "*.h"}, QDir::Files,
                           QDirIterator::Subdirectories);
        while (files.hasNext()) {
            QFile file(files.next());
            if (!file.open(QIODevice::ReadOnly)) {
                texts.append({"unreadable", file.fileName()}); // said as a text under a wrong context
                continue;
            }
            const QString code = QString::fromUtf8(file.readAll());
            for (auto match = marked.globalMatch(code); match.hasNext();) {
                const auto found = match.next();
                QString text;
                for (auto part = piece.globalMatch(found.captured(2)); part.hasNext();) {
                    text += part.next().captured(1);
                }
                text.replace(R"(\")", "\"").replace(R"(\n)", "\n").replace(R"(\\)", "\\");
                texts.append({found.captured(1), text});
            }
        }
    }
    return texts;
}

QChar AccessKey(const QString& text) {
    const qsizetype at = text.indexOf(QRegularExpression("&[^&]"));
    return at < 0 ? QChar() : text.at(at + 1).toLower();
}

QString Duplicate(const QStringList& texts) {
    QHash<QChar, QString> seen;
    for (const QString& text : texts) {
        const QChar key = AccessKey(text);
        if (!key.isNull() && seen.contains(key)) {
            return seen[key] + " / " + text;
        }
        seen[key] = text;
    }
    return {};
}
} // namespace

void TestTranslations::initTestCase() {
    designed_ = Shown(std::make_unique<frmZCM>(platform_, outside_).get()); // before any translation is installed
    InstallTranslations(*qApp);
    language_ = QLocale().language() == QLocale::C || QLocale().language() == QLocale::English
                    ? QString()
                    : QLocale().name().section('_', 0, 0);
    main_ = std::make_unique<frmZCM>(platform_, outside_);
    encoder_ = std::make_unique<EncoderWindow>(platform_, outside_, std::make_unique<FakeJob>(),
                                               ConvertedFile{"ffmpeg", "a.mp4", "ffmpeg", {}});
    runner_ = std::make_unique<QueueRunner>(outside_);
    queue_ = std::make_unique<QueueWindow>(*runner_, platform_);
    preview_ = std::make_unique<PreviewWindow>(outside_);
}

QList<QWidget*> TestTranslations::windows() {
    return {main_.get(), encoder_.get(), queue_.get(), preview_.get()};
}

// A text still in English is one that a translation file translates into something else.
void TestTranslations::everyTextIsInTheLanguage() {
    if (language_.isEmpty()) { // under C the designed texts stand as they are written
        QCOMPARE(Shown(main_.get()), designed_);
        return;
    }
    const QHash<QString, QString> translations = Translations(FileOf(language_));
    QStringList shown;
    for (QWidget* window : windows()) {
        shown << Shown(window);
    }
    QStringList english;
    for (const QString& text : shown) {
        if (translations.contains(text) && translations[text] != text) {
            english << text;
        }
    }
    QVERIFY2(english.isEmpty(), qPrintable(english.join('\n')));
    QVERIFY(shown.size() > 150);
}

// The plain C++ layers' texts and the media texts outside any window's class are all translated
// under the one context the window looks them up in, whatever namespace or class they stand in.
void TestTranslations::everyTextBelowTheWindowIsInTheLanguage() {
    const QList<std::pair<QString, QString>> texts = MarkedTexts();
    QVERIFY(texts.size() > 100);
    if (language_.isEmpty()) {
        QSKIP("English is the source language");
    }
    const QHash<QString, QString> translations = Translations(FileOf(language_));
    QStringList english;
    for (const auto& [context, text] : texts) {
        if (context != ZVM_TEXT_CONTEXT && !context.isEmpty()) {
            english << context + ": " + text;
        } else if (translations.value(text).isEmpty() || Translated(text.toStdString()) != translations[text]) {
            english << text;
        }
    }
    QVERIFY2(english.isEmpty(), qPrintable(english.join('\n')));
}

void TestTranslations::accessKeysAreUnique() {
    for (QWidget* window : windows()) {
        QStringList captions;
        for (QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
            captions << button->text();
        }
        for (QLabel* label : window->findChildren<QLabel*>()) {
            captions << (label->buddy() != nullptr ? label->text() : QString());
        }
        if (auto* menuWindow = qobject_cast<QMainWindow*>(window)) {
            for (QAction* menu : menuWindow->menuBar()->actions()) {
                captions << menu->text();
            }
        }
        QVERIFY2(Duplicate(captions).isEmpty(), qPrintable(window->objectName() + ": " + Duplicate(captions)));
    }
    for (QMenu* menu : main_->findChildren<QMenu*>()) {
        QStringList entries;
        for (QAction* action : menu->actions()) {
            entries << action->text();
        }
        QVERIFY2(Duplicate(entries).isEmpty(), qPrintable(menu->objectName() + ": " + Duplicate(entries)));
    }
    const std::pair<const char*, const char*> questions[] = {
        {"&Resume", "&Discard"}, {"Stop the queue and &quit", "&Cancel"}, {"&Replace them", "&Skip those videos"}};
    for (const auto& [first, second] : questions) {
        const char* context = QString(first).contains("Replace") ? "QueueWindow" : "frmZCM";
        QVERIFY(Duplicate({QCoreApplication::translate(context, first), QCoreApplication::translate(context, second)})
                    .isEmpty());
    }
}

// Every message of the language's file is translated, keeps its %1, %2... and is not unfinished.
void TestTranslations::filesAreComplete() {
    if (language_.isEmpty()) {
        QSKIP("the source language needs no file");
    }
    const QHash<QString, QString> translations = Translations(FileOf(language_));
    for (auto it = translations.cbegin(); it != translations.cend(); ++it) {
        QVERIFY2(!it.value().isEmpty(), qPrintable(it.key()));
        for (const auto& place : QRegularExpression("%\\d").globalMatch(it.key())) {
            QVERIFY2(it.value().contains(place.captured()), qPrintable(it.key()));
        }
    }
    QVERIFY(translations.size() > 200);
}

// The files hold exactly the texts of today's sources: a text added without its translation fails here.
void TestTranslations::filesAreCurrent() {
    if (language_ != "de") {
        QSKIP("one language is enough: lupdate keeps both files in step");
    }
    QTemporaryDir dir;
    const QString fresh = dir.filePath("fresh.ts");
    QProcess lupdate;
    lupdate.setWorkingDirectory(SOURCE_DIR);
    lupdate.start(LUPDATE_PATH, {"-tr-function-alias", "QT_TRANSLATE_NOOP+=ZVM_TEXT", "-locations", "none", "-silent",
                                 "core", "files", "settings", "process", "media", "queue", "ui", "-ts", fresh});
    QVERIFY(lupdate.waitForFinished(60000));
    QStringList now = Translations(fresh).keys();
    QStringList kept = Translations(FileOf("de")).keys();
    now.sort();
    kept.sort();
    QCOMPARE(now, kept);
}

// Texts that count say "1 video", not "1 videos", in every language.
void TestTranslations::pluralsFollowTheCount_data() {
    QTest::addColumn<QString>("context");
    QTest::addColumn<QString>("source");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("text"); // as read in the run's language: "en|de|es"
    const QString waiting = "%n video(s) were waiting in the queue.";
    QTest::newRow("one waiting") << "frmZCM" << waiting << 1
                                 << "1 video was waiting in the queue.|1 Video wartete in der Warteschlange.|"
                                    "1 vídeo esperaba en la cola.";
    QTest::newRow("two waiting") << "frmZCM" << waiting << 2
                                 << "2 videos were waiting in the queue.|2 Videos warteten in der Warteschlange.|"
                                    "2 vídeos esperaban en la cola.";
    const QString total = "%n video(s): %1";
    QTest::newRow("one in all") << "QueueWindow" << total << 1 << "1 video: %1|1 Video: %1|1 vídeo: %1";
    QTest::newRow("none in all") << "QueueWindow" << total << 0 << "0 videos: %1|0 Videos: %1|0 vídeos: %1";
    const QString exist = "%n output file(s) exist already. Replace them, or skip those videos?";
    QTest::newRow("one exists") << "QueueWindow" << exist << 1
                                << "1 output file exists already. Replace it, or skip that video?|"
                                   "1 Ausgabedatei gibt es schon. Ersetzen oder dieses Video überspringen?|"
                                   "Ya existe 1 archivo de salida. ¿Reemplazarlo u omitir ese vídeo?";
    QTest::newRow("three exist") << "QueueWindow" << exist << 3
                                 << "3 output files exist already. Replace them, or skip those videos?|"
                                    "3 Ausgabedateien gibt es schon. Ersetzen oder diese Videos überspringen?|"
                                    "Ya existen 3 archivos de salida. ¿Reemplazarlos u omitir esos vídeos?";
}

void TestTranslations::pluralsFollowTheCount() {
    QFETCH(QString, context);
    QFETCH(QString, source);
    QFETCH(int, count);
    QFETCH(QString, text);
    const QStringList byLanguage = text.split('|');
    const qsizetype column = QStringList{"", "de", "es"}.indexOf(language_);
    QVERIFY2(column >= 0, qPrintable("no plural row for the language " + language_));
    const QByteArray contextBytes = context.toUtf8();
    const QByteArray sourceBytes = source.toUtf8();
    QCOMPARE(QCoreApplication::translate(contextBytes.constData(), sourceBytes.constData(), nullptr, count),
             byLanguage.value(column));
}

QTEST_MAIN(TestTranslations)
#include "tst_translations.moc"
