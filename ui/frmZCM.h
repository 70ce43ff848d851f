#pragma once

#include "core/CommandForm.h"
#include "core/ConversionRequest.h"

#include <QMainWindow>

#include <filesystem>
#include <functional>
#include <optional>
#include <vector>

namespace zvm {
class Status;
namespace media {
class Outside;
}
} // namespace zvm
class Platform;
struct FileDialogRequest;
class QAction;
class QActionGroup;
class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class EncoderForm;
class PreviewWindow;
class SourceReader;
class QueueRunner;
class QueueWindow;

// The one window of the program. Control and handler names follow the design, so that the
// design, the tests and accessibility tools all speak of the same things. The platform and the
// outside must outlive it.
class frmZCM : public QMainWindow {
    Q_OBJECT

public:
    frmZCM(Platform& platform, zvm::media::Outside& outside, QWidget* parent = nullptr);
    ~frmZCM() override;
    frmZCM(const frmZCM&) = delete;
    frmZCM& operator=(const frmZCM&) = delete;

    // Keeps settings.ini in this folder instead of the current one; before start-up.
    void keepSettingsIn(const QString& folder);
    // Looks for the manual in these folders instead of the installed and the built copy.
    void lookForManualIn(const QStringList& folders);
    // Start-up, once, before the window is first shown.
    void Form_Load();
    // Videos named on the command line, after start-up.
    void openVideos(const QStringList& videos);
    // Once the window is on screen: what an earlier run left in the queue is offered back (a large
    // queue must not keep the window from showing), then the videos named on the command line are
    // opened, and the focus is back in the source box.
    void startUpShown(const QStringList& videos);
    // Ctrl+C, TERM and HUP end the program as quitting with a converting queue does, without asking:
    // the queue's encoders are stopped and their partial outputs removed, what is unfinished is kept
    // for the next start, and the program exits with 128 + the signal's number. An encoder Convert
    // started goes on, as it does when the program is quit.
    void stopOnSignals();

    void cmdGenerate_Click();
    void cmdConvert_Click();
    void cmdClear_Click();
    void cmdExit_Click();
    void mnuWebsite_Click();
    void mnuManual_Click();
    void mnuSaveINI_Click();
    void cmdBrowseVideo_Click();
    void cmdSaveAs_Click();
    void cmdffmpegexe_Click();
    void mnuDetectSize_Click();
    void mnuModernCommand_Click(bool checked);
    void mnuCropBars_Click(bool checked);
    void lookForBars();
    void mnuPreview_Click();
    void mnuAddToQueue_Click();
    void mnuAddCurrent_Click();
    void mnuTargets_Click();
    // After the Targets dialog's OK: the list shows the table's targets.
    void targetsChanged();

    void txtOriginalVideo_GotFocus();
    void txtSaveAs_GotFocus();
    void txtWidth_GotFocus();
    void txtHeight_GotFocus();
    void txtVideoBitrate_GotFocus();
    void txtAudioBitrate_GotFocus();
    void txtSampleRate_GotFocus();
    void txtFFMPEGCode_GotFocus();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // The designed controls, found by tests and accessibility tools by their object names.
    // Groups.
    QGroupBox* FraVideo = nullptr;
    QGroupBox* fraOriginal = nullptr;
    QGroupBox* fraMovieType = nullptr;
    QGroupBox* fraPadding = nullptr;
    QGroupBox* fraOptions = nullptr;
    QGroupBox* fraSettings = nullptr;
    QGroupBox* fraMain = nullptr;

    // Inputs and commands.
    QLineEdit* txtOriginalVideo = nullptr;
    QPushButton* cmdBrowseVideo = nullptr;
    QLineEdit* txtSaveAs = nullptr;
    QPushButton* cmdSaveAs = nullptr;
    QLineEdit* txtWidth = nullptr;
    QLineEdit* txtHeight = nullptr;
    QRadioButton* optLiveAction = nullptr;
    QRadioButton* optAnime = nullptr;
    QComboBox* cboPlatform = nullptr;
    QLineEdit* txtVideoBitrate = nullptr;
    QLineEdit* txtAudioBitrate = nullptr;
    QLineEdit* txtSampleRate = nullptr;
    QLineEdit* txtffmpegexe = nullptr;
    QPushButton* cmdffmpegexe = nullptr;
    QPlainTextEdit* txtFFMPEGCode = nullptr;
    QPushButton* cmdConvert = nullptr;
    QPushButton* cmdClear = nullptr;
    QPushButton* cmdExit = nullptr;
    QPushButton* cmdGenerate = nullptr;

    // Results.
    QLabel* lblRatio = nullptr;
    QLabel* lblNewWidth = nullptr;
    QLabel* lblNewHeight = nullptr;
    QLabel* lblPadTop = nullptr;
    QLabel* lblPadLeft = nullptr;
    QLabel* lblPadRight = nullptr;
    QLabel* lblPadBottom = nullptr;

    // Menus.
    QMenu* mnuFile = nullptr;
    QAction* mnuSaveINI = nullptr;
    QMenu* mnuOptions = nullptr;
    QAction* mnuModernCommand = nullptr;
    QAction* mnuBestQuality = nullptr; // not kept in settings.ini: every start begins without it
    QAction* mnuCropBars = nullptr; // not kept in settings.ini: every start begins without it
    // The source's sound streams, once read; Automatic (the encoder's own choice) for each new source.
    QMenu* mnuSoundStream = nullptr;
    QActionGroup* soundStreams_ = nullptr;
    QAction* mnuDetectSize = nullptr;
    QAction* mnuPreview = nullptr;
    QAction* mnuAddToQueue = nullptr;
    QAction* mnuAddCurrent = nullptr;
    QAction* mnuQueue = nullptr;
    QAction* mnuTargets = nullptr;
    QMenu* mnuHelp = nullptr;
    QAction* mnuWebsite = nullptr;
    QAction* mnuManual = nullptr;


    // Construction, in frmZCM_Layout.cpp.
    void buildLayout();
    void buildVideoRows(QWidget* client);
    void buildOriginal(QWidget* client);
    void buildMovieType(QWidget* client);
    void buildPadding(QWidget* client);
    void buildOptions(QWidget* client);
    void buildSettings(QWidget* client);
    void buildMain(QWidget* client);
    void buildMenus();
    void setKeyboardOrder();
    void connectHandlers();

    void showResults(const QStringList& texts);
    void describePreset();
    // The movie type applies to the designed rows alone; the others grey it.
    void followTarget();
    // Greys the targets this encoder cannot write, each with the reason as its tooltip.
    void showServedTargets();
    // How Generate's work ended: refused (its message box shown), done without a command (no movie
    // type), or a command written into the box.
    enum class Generated { Refused, NoCommand, Written };
    Generated generate();
    // Convert's work once the form is known.
    void convert();
    zvm::ConversionRequest requestFromControls() const;
    void showRefusal(const zvm::Status& refusal);
    void showUnprepared(const zvm::Status& why);
    zvm::MovieType movieType() const;
    void setMovieType(zvm::MovieType type);
    void optionToggled();
    QLineEdit* dropTargetAt(const QPoint& position) const;

    // Settings and pickers, in frmZCM_Settings.cpp.
    QList<QLineEdit*> savedBoxes() const;
    std::filesystem::path settingsPath() const;
    bool loadSettings();
    bool pickInto(QLineEdit* box, const FileDialogRequest& request);
    // The user's targets read, a damaged file said; then every target in the list, withdrawn ones hidden.
    void loadTargets();
    void listTargets();

    // The command form and the preview, in frmZCM_Automatic.cpp.
    // The form in use; known inside whenFormDecided's actions, which run once the encoder box's
    // text has its answer.
    zvm::CommandStyle commandStyle() const;
    void whenFormDecided(std::function<void()> action);
    void runFormWaiters();
    void showCommandForm();
    void followPreview();
    void listSoundStreams();
    // The sound stream chosen for the source in the box, counted from 0; -1 for the encoder's own choice.
    int chosenSoundStream() const;

    // The queue, in frmZCM_Queue.cpp.
    QueueRunner& queue();
    void showQueue();
    void addToQueue(const QStringList& videos);
    void addCurrentToQueue(const zvm::ConversionRequest& request, std::optional<int> subtitleStreams = std::nullopt);
    void offerKeptQueue();
    bool mayQuit();
    void stopForSignal(int signal);
    void sayWhatGoesOn();
    static QStringList VideoFilters();
    QString videoFolder() const;

    Platform& platform_;
    zvm::media::Outside& outside_;
    // The black bars last measured, and of which source; a crop only where its frames agreed.
    QString barsOf_;
    zvm::CropChoice bars_;
    QButtonGroup* movieTypeGroup_ = nullptr;
    bool toldWhatGoesOn_ = false;
    int stoppingFor_ = 0; // the signal the program is stopping for, once one came
    EncoderForm* form_ = nullptr;
    SourceReader* reader_ = nullptr;
    std::vector<std::function<void()>> formWaiters_; // in the order they were asked for
    QString lastVideoFolder_; // where the last picked video came from, for the next picker
    QString settingsFolder_;
    bool targetsDamagedInPlace_ = false; // targets.json could not be set aside: the dialog may not write it
    QStringList manualFolders_;
    PreviewWindow* preview_ = nullptr;
    QueueRunner* queue_ = nullptr;
    QueueWindow* queueWindow_ = nullptr;
    bool centred_ = false;
};
