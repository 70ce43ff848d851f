#pragma once

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

// A control of the window by its designed object name, the name accessibility tools and the design
// use; a missing one ends the test, naming it.
template <class T> T* Named(const QObject& window, const char* name) {
    T* found = window.findChild<T*>(QString::fromLatin1(name));
    if (found == nullptr) {
        qFatal("The window has no %s named %s", T::staticMetaObject.className(), name);
    }
    return found;
}

// The main window's designed controls, found by name: Ui(w).txtWidth.
struct Ui {
    explicit Ui(const QObject& shown) : window(shown) {}
    const QObject& window;

    // Groups.
    QGroupBox* const FraVideo = Named<QGroupBox>(window, "FraVideo");
    QGroupBox* const fraOriginal = Named<QGroupBox>(window, "fraOriginal");
    QGroupBox* const fraMovieType = Named<QGroupBox>(window, "fraMovieType");
    QGroupBox* const fraPadding = Named<QGroupBox>(window, "fraPadding");
    QGroupBox* const fraOptions = Named<QGroupBox>(window, "fraOptions");
    QGroupBox* const fraSettings = Named<QGroupBox>(window, "fraSettings");
    QGroupBox* const fraMain = Named<QGroupBox>(window, "fraMain");

    // Inputs and commands.
    QLineEdit* const txtOriginalVideo = Named<QLineEdit>(window, "txtOriginalVideo");
    QPushButton* const cmdBrowseVideo = Named<QPushButton>(window, "cmdBrowseVideo");
    QLineEdit* const txtSaveAs = Named<QLineEdit>(window, "txtSaveAs");
    QPushButton* const cmdSaveAs = Named<QPushButton>(window, "cmdSaveAs");
    QLineEdit* const txtWidth = Named<QLineEdit>(window, "txtWidth");
    QLineEdit* const txtHeight = Named<QLineEdit>(window, "txtHeight");
    QRadioButton* const optLiveAction = Named<QRadioButton>(window, "optLiveAction");
    QRadioButton* const optAnime = Named<QRadioButton>(window, "optAnime");
    QComboBox* const cboPlatform = Named<QComboBox>(window, "cboPlatform");
    QLineEdit* const txtVideoBitrate = Named<QLineEdit>(window, "txtVideoBitrate");
    QLineEdit* const txtAudioBitrate = Named<QLineEdit>(window, "txtAudioBitrate");
    QLineEdit* const txtSampleRate = Named<QLineEdit>(window, "txtSampleRate");
    QLineEdit* const txtffmpegexe = Named<QLineEdit>(window, "txtffmpegexe");
    QPushButton* const cmdffmpegexe = Named<QPushButton>(window, "cmdffmpegexe");
    QPlainTextEdit* const txtFFMPEGCode = Named<QPlainTextEdit>(window, "txtFFMPEGCode");
    QPushButton* const cmdConvert = Named<QPushButton>(window, "cmdConvert");
    QPushButton* const cmdClear = Named<QPushButton>(window, "cmdClear");
    QPushButton* const cmdExit = Named<QPushButton>(window, "cmdExit");
    QPushButton* const cmdGenerate = Named<QPushButton>(window, "cmdGenerate");

    // Results.
    QLabel* const lblRatio = Named<QLabel>(window, "lblRatio");
    QLabel* const lblNewWidth = Named<QLabel>(window, "lblNewWidth");
    QLabel* const lblNewHeight = Named<QLabel>(window, "lblNewHeight");
    QLabel* const lblPadTop = Named<QLabel>(window, "lblPadTop");
    QLabel* const lblPadLeft = Named<QLabel>(window, "lblPadLeft");
    QLabel* const lblPadRight = Named<QLabel>(window, "lblPadRight");
    QLabel* const lblPadBottom = Named<QLabel>(window, "lblPadBottom");

    // Menus.
    QMenu* const mnuFile = Named<QMenu>(window, "mnuFile");
    QAction* const mnuSaveINI = Named<QAction>(window, "mnuSaveINI");
    QMenu* const mnuOptions = Named<QMenu>(window, "mnuOptions");
    QAction* const mnuModernCommand = Named<QAction>(window, "mnuModernCommand");
    QAction* const mnuBestQuality = Named<QAction>(window, "mnuBestQuality");
    QAction* const mnuDetectSize = Named<QAction>(window, "mnuDetectSize");
    QAction* const mnuPreview = Named<QAction>(window, "mnuPreview");
    QAction* const mnuAddToQueue = Named<QAction>(window, "mnuAddToQueue");
    QAction* const mnuAddCurrent = Named<QAction>(window, "mnuAddCurrent");
    QAction* const mnuQueue = Named<QAction>(window, "mnuQueue");
    QAction* const mnuTargets = Named<QAction>(window, "mnuTargets");
    QMenu* const mnuHelp = Named<QMenu>(window, "mnuHelp");
    QAction* const mnuWebsite = Named<QAction>(window, "mnuWebsite");
    QAction* const mnuManual = Named<QAction>(window, "mnuManual");
};
