// Building the window exactly as designed: every control at its twips position, with its name,
// text, tooltip and place in the keyboard order.
#include "ui/frmZCM.h"

#include "ui/EncoderForm.h"
#include "ui/FocusWatcher.h"
#include "ui/Twips.h"

#include <QActionGroup>
#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionButton>

namespace {
constexpr int kClientWidth = 8520;
constexpr int kClientHeight = 8160;

QGroupBox* Group(QWidget* parent, const char* name, const QString& title, int l, int t, int w, int h) {
    return Place(new QGroupBox(title, parent), name, l, t, w, h);
}

// Designed sizes were made for a smaller font than today's desktops use. Where a control's text
// needs more room, the control grows to its right and down, from its designed place.
template <class W> W* GrowToFit(W* widget, QSize needed) {
    widget->resize(std::max(widget->width(), needed.width()), std::max(widget->height(), needed.height()));
    return widget;
}
template <class W> W* GrowToFit(W* widget) {
    return GrowToFit(widget, widget->sizeHint());
}

// A box grows only in height, so that its text is not cut at the bottom.
template <class W> W* GrowToTextHeight(W* widget) {
    return GrowToFit(widget, QSize(0, widget->sizeHint().height()));
}

QLineEdit* TextBox(QWidget* parent, const char* name, int l, int t, int w, int h, const QString& text = {},
                   const QString& tip = {}) {
    auto* box = GrowToTextHeight(Place(new QLineEdit(text, parent), name, l, t, w, h));
    box->setToolTip(tip);
    box->setAcceptDrops(false); // drops go to the window, which picks the box
    return box;
}

// A button too small for its caption grows evenly on both sides, keeping its designed centre.
void GrowAroundCaption(QPushButton* button) {
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    const QRect room = button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
    const QSize text = button->fontMetrics().size(Qt::TextShowMnemonic, button->text());
    const int wider = std::max(0, text.width() - room.width());
    const int taller = std::max(0, text.height() - room.height());
    button->setGeometry(
        button->geometry().adjusted(-(wider + 1) / 2, -(taller + 1) / 2, wider / 2, taller / 2));
}

QPushButton* Button(QWidget* parent, const char* name, const QString& caption, int l, int t, int w, int h,
                    const QString& tip = {}) {
    auto* button = Place(new QPushButton(caption, parent), name, l, t, w, h);
    GrowAroundCaption(button);
    button->setToolTip(tip);
    button->setAutoDefault(true); // Enter presses the focused button, as Space does
    return button;
}

QLabel* Caption(QWidget* parent, const char* name, const QString& text, int l, int t, int w, int h) {
    return GrowToFit(Place(new QLabel(text, parent), name, l, t, w, h));
}

// The caption that names a box also gives it its accessible name, which messages use too.
void NameBox(QLabel* caption, QLineEdit* box) {
    caption->setBuddy(box);
    box->setAccessibleName(caption->text());
}

// A group grows to the right to hold whatever of its own grew past its border. The groups that end
// at the window's designed right edge grow together, so that edge stays straight; returns by how much.
int WidenRightColumn(const QList<QGroupBox*>& groups) {
    int rightEdge = 0;
    int grow = 0;
    for (QGroupBox* group : groups) {
        rightEdge = std::max(rightEdge, group->geometry().right());
        const int margin = group->contentsMargins().right() + TwipsToPixels(120, group->logicalDpiX());
        grow = std::max(grow, group->childrenRect().right() + 1 + margin - group->width());
    }
    for (QGroupBox* group : groups) {
        if (grow > 0 && group->geometry().right() == rightEdge) {
            group->resize(group->width() + grow, group->height());
        }
    }
    return grow;
}

// A one-line display box: flat single border, window-background colour, not editable or focusable.
// Its accessible name says what it shows; a screen reader would otherwise read a bare number.
QLabel* Result(QWidget* parent, const char* name, const QString& meaning, int l, int t, int w, int h,
               Qt::Alignment align) {
    auto* label = Place(new QLabel(parent), name, l, t, w, h);
    label->setAccessibleName(meaning);
    label->setFrameStyle(QFrame::Box | QFrame::Plain);
    label->setLineWidth(1);
    label->setAutoFillBackground(true);
    label->setBackgroundRole(QPalette::Base);
    label->setForegroundRole(QPalette::Text);
    label->setAlignment(align | Qt::AlignVCenter);
    return label;
}
} // namespace

void frmZCM::buildLayout() {
    setWindowTitle(tr("Zarnik Video Maker"));
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    setCentralWidget(client);

    buildVideoRows(client);
    buildOriginal(client);
    buildMovieType(client);
    buildPadding(client);
    buildOptions(client);
    buildSettings(client);
    buildMain(client);
    const int dpi = client->logicalDpiX();
    const int grow =
        WidenRightColumn({FraVideo, fraOriginal, fraMovieType, fraPadding, fraOptions, fraSettings, fraMain});
    client->setFixedSize(TwipsToPixels(kClientWidth, dpi) + grow, TwipsToPixels(kClientHeight, dpi));
    buildMenus();
    setKeyboardOrder();
    setAcceptDrops(true);
}

void frmZCM::buildVideoRows(QWidget* client) {
    FraVideo = Group(client, "FraVideo", {}, 120, 0, 8295, 1575);
    QLabel* videoCaption = Caption(FraVideo, "Label7", tr("Original Video to convert"), 120, 240, 1740, 195);
    txtOriginalVideo = TextBox(FraVideo, "txtOriginalVideo", 120, 480, 7215, 285, {},
                               tr("Video filename with extension (.avi, .mpg, etc)"));
    NameBox(videoCaption, txtOriginalVideo);
    cmdBrowseVideo = Button(FraVideo, "cmdBrowseVideo", tr("Browse"), 7440, 480, 735, 255);
    cmdBrowseVideo->setAccessibleName(tr("Browse for the source video"));
    QLabel* outputCaption = Caption(FraVideo, "Label25", tr("Outputted MP4 filename"), 120, 840, 1710, 195);
    // The output row belongs to the window but lies over the video group.
    txtSaveAs =
        TextBox(client, "txtSaveAs", 240, 1080, 7215, 285, {}, tr("Where to save the .mp4 video file"));
    NameBox(outputCaption, txtSaveAs);
    cmdSaveAs = Button(client, "cmdSaveAs", tr("Browse"), 7560, 1080, 735, 255);
    cmdSaveAs->setAccessibleName(tr("Browse for the output file"));
}

void frmZCM::buildOriginal(QWidget* client) {
    fraOriginal = Group(client, "fraOriginal", tr("Original Video"), 120, 1680, 2295, 1695);
    QLabel* widthCaption = Caption(fraOriginal, "Label2", tr("Width"), 120, 240, 420, 195);
    QLabel* heightCaption = Caption(fraOriginal, "Label1", tr("Height"), 1320, 240, 465, 195);
    txtWidth = TextBox(fraOriginal, "txtWidth", 120, 480, 855, 285, {}, tr("Width of original video"));
    NameBox(widthCaption, txtWidth);
    Caption(fraOriginal, "Label3", tr("X"), 1080, 600, 105, 195);
    txtHeight = TextBox(fraOriginal, "txtHeight", 1320, 480, 855, 285, {}, tr("Height of original video"));
    NameBox(heightCaption, txtHeight);
    Caption(fraOriginal, "Label4", tr("Ratio"), 120, 960, 375, 195);
    lblRatio = Result(fraOriginal, "lblRatio", tr("Ratio"), 120, 1200, 2055, 255, Qt::AlignLeft);
}

void frmZCM::buildMovieType(QWidget* client) {
    fraMovieType = Group(client, "fraMovieType", tr("Movie Type"), 2520, 1680, 1695, 1695);
    optLiveAction = GrowToFit(
        Place(new QRadioButton(tr("Live Action"), fraMovieType), "optLiveAction", 240, 480, 1215, 255));
    optAnime =
        GrowToFit(Place(new QRadioButton(tr("Animation"), fraMovieType), "optAnime", 240, 960, 1215, 195));
    movieTypeGroup_ = new QButtonGroup(this);
    movieTypeGroup_->addButton(optLiveAction);
    movieTypeGroup_->addButton(optAnime);
    // Neither is selected as designed; start-up selects Live Action.
    movieTypeGroup_->setExclusive(false);
    connect(movieTypeGroup_, &QButtonGroup::buttonToggled, this, &frmZCM::optionToggled);
}

void frmZCM::buildPadding(QWidget* client) {
    fraPadding = Group(client, "fraPadding", {}, 4320, 1680, 2295, 3375);
    cboPlatform = GrowToTextHeight(Place(new QComboBox(fraPadding), "cboPlatform", 120, 240, 2055, 315));
    cboPlatform->setToolTip(tr("Choose a resolution"));
    cboPlatform->setAccessibleName(tr("Target screen"));
    cboPlatform->setEditable(false);
    Caption(fraPadding, "Label15", tr("New Dimensions"), 600, 720, 1185, 195);
    Caption(fraPadding, "Label6", tr("Width"), 360, 960, 420, 195);
    Caption(fraPadding, "Label5", tr("Height"), 1560, 960, 465, 195);
    lblNewWidth = Result(fraPadding, "lblNewWidth", tr("New width"), 120, 1200, 855, 255, Qt::AlignHCenter);
    Caption(fraPadding, "Label13", tr("X"), 1080, 1200, 105, 195);
    lblNewHeight =
        Result(fraPadding, "lblNewHeight", tr("New height"), 1320, 1200, 855, 255, Qt::AlignHCenter);
    Caption(fraPadding, "Label16", tr("Padding"), 840, 1560, 585, 195);
    Caption(fraPadding, "Label8", tr("Top"), 960, 1800, 285, 195);
    lblPadTop = Result(fraPadding, "lblPadTop", tr("Pad top"), 840, 2040, 615, 255, Qt::AlignHCenter);
    Caption(fraPadding, "Label12", tr("Left"), 240, 2160, 270, 195);
    Caption(fraPadding, "Label14", tr("Right"), 1680, 2160, 375, 195);
    lblPadLeft = Result(fraPadding, "lblPadLeft", tr("Pad left"), 120, 2400, 615, 255, Qt::AlignHCenter);
    lblPadRight = Result(fraPadding, "lblPadRight", tr("Pad right"), 1560, 2400, 615, 255, Qt::AlignHCenter);
    Caption(fraPadding, "Label10", tr("Bottom"), 840, 2520, 495, 195);
    lblPadBottom =
        Result(fraPadding, "lblPadBottom", tr("Pad bottom"), 840, 2760, 615, 255, Qt::AlignHCenter);
}

void frmZCM::buildOptions(QWidget* client) {
    fraOptions = Group(client, "fraOptions", tr("Options"), 6720, 1680, 1695, 3375);
    QLabel* videoBitrateCaption = Caption(fraOptions, "Label17", tr("Video Bitrate"), 120, 360, 900, 195);
    txtVideoBitrate = TextBox(fraOptions, "txtVideoBitrate", 120, 600, 735, 285,
                              QString::fromUtf8(zvm::kDefaultVideoBitrate), tr("video bitrate (in kbit/s) "));
    NameBox(videoBitrateCaption, txtVideoBitrate);
    Caption(fraOptions, "Label20", tr("kbit/s"), 960, 600, 405, 195);
    QLabel* audioBitrateCaption = Caption(fraOptions, "Label18", tr("Audio Bitrate"), 120, 960, 900, 195);
    txtAudioBitrate = TextBox(fraOptions, "txtAudioBitrate", 120, 1200, 735, 285,
                              QString::fromUtf8(zvm::kDefaultAudioBitrate), tr("audio bitrate (in kbit/s) "));
    NameBox(audioBitrateCaption, txtAudioBitrate);
    Caption(fraOptions, "Label21", tr("kbit/s"), 960, 1200, 405, 195);
    QLabel* sampleRateCaption = Caption(fraOptions, "Label19", tr("Audio Sample Rate"), 120, 1560, 1365, 195);
    txtSampleRate = TextBox(fraOptions, "txtSampleRate", 120, 1800, 735, 285,
                            QString::fromUtf8(zvm::kDefaultSampleRate), tr("audio sampling rate (in Hz) "));
    NameBox(sampleRateCaption, txtSampleRate);
    Caption(fraOptions, "Label22", tr("Hz"), 960, 1800, 195, 195);
}

void frmZCM::buildSettings(QWidget* client) {
    fraSettings = Group(client, "fraSettings", {}, 120, 3360, 4095, 1695);
    QLabel* encoderCaption =
        Caption(fraSettings, "Label23", tr("Location of FFMPEG.EXE"), 120, 360, 1845, 195);
    txtffmpegexe = TextBox(fraSettings, "txtffmpegexe", 120, 600, 3855, 285);
    NameBox(encoderCaption, txtffmpegexe);
    cmdffmpegexe = Button(fraSettings, "cmdffmpegexe", tr("Browse"), 2760, 960, 1215, 495);
    cmdffmpegexe->setAccessibleName(tr("Browse for the encoder"));
}

void frmZCM::buildMain(QWidget* client) {
    fraMain = Group(client, "fraMain", {}, 120, 5160, 8295, 2895);
    txtFFMPEGCode = Place(new QPlainTextEdit(fraMain), "txtFFMPEGCode", 120, 240, 7935, 1935);
    txtFFMPEGCode->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    txtFFMPEGCode->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    txtFFMPEGCode->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    txtFFMPEGCode->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    txtFFMPEGCode->setTabChangesFocus(true);
    txtFFMPEGCode->setAcceptDrops(false);
    txtFFMPEGCode->setAccessibleName(tr("ffmpeg command"));
    cmdConvert =
        Button(fraMain, "cmdConvert", tr("Con&vert"), 2880, 2280, 1215, 495, tr("Convert using ffmpeg"));
    cmdClear = Button(fraMain, "cmdClear", tr("&Clear"), 4200, 2280, 1215, 495);
    cmdExit = Button(fraMain, "cmdExit", tr("E&xit"), 5520, 2280, 1215, 495);
    cmdGenerate = Button(fraMain, "cmdGenerate", tr("&Generate"), 6840, 2280, 1215, 495);
}

void frmZCM::buildMenus() {
    mnuFile = menuBar()->addMenu(tr("&File"));
    mnuFile->setObjectName("mnuFile");
    mnuSaveINI = mnuFile->addAction(tr("&Save settings to INI"));
    mnuSaveINI->setObjectName("mnuSaveINI");
    mnuOptions = menuBar()->addMenu(tr("&Options"));
    mnuOptions->setObjectName("mnuOptions");
    mnuOptions->setToolTipsVisible(true); // the command form entry says why it is set as it is
    mnuModernCommand = mnuOptions->addAction(tr("&Modern ffmpeg command"));
    mnuModernCommand->setObjectName("mnuModernCommand");
    mnuModernCommand->setCheckable(true);
    // Not kept: every start begins with the designed commands. The classic options cannot ask for it.
    mnuBestQuality = mnuOptions->addAction(tr("&Best quality (slower)"));
    mnuBestQuality->setObjectName("mnuBestQuality");
    mnuBestQuality->setCheckable(true);
    mnuBestQuality->setToolTip(tr("Two passes and the best options the target's format takes, for the first five "
                                  "targets (the later ones have theirs already); the PSP rows then write the "
                                  "PSP's own format. Needs the modern command."));
    mnuCropBars = mnuOptions->addAction(tr("&Crop black bars automatically"));
    mnuCropBars->setObjectName("mnuCropBars");
    mnuCropBars->setCheckable(true);
    mnuSoundStream = mnuOptions->addMenu(tr("&Sound stream"));
    mnuSoundStream->setObjectName("mnuSoundStream");
    soundStreams_ = new QActionGroup(this);
    mnuDetectSize = mnuOptions->addAction(tr("&Detect size from video"));
    mnuDetectSize->setObjectName("mnuDetectSize");
    mnuDetectSize->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_D));
    mnuPreview = mnuOptions->addAction(tr("&Preview"));
    mnuPreview->setObjectName("mnuPreview");
    mnuPreview->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    mnuAddToQueue = mnuOptions->addAction(tr("Add videos to &queue..."));
    mnuAddToQueue->setObjectName("mnuAddToQueue");
    mnuAddCurrent = mnuOptions->addAction(tr("Add c&urrent to queue"));
    mnuAddCurrent->setObjectName("mnuAddCurrent");
    // Brings the queue window back once it is closed: the queue runs on without it.
    mnuQueue = mnuOptions->addAction(tr("Queu&e"));
    mnuQueue->setObjectName("mnuQueue");
    mnuTargets = mnuOptions->addAction(tr("&Targets..."));
    mnuTargets->setObjectName("mnuTargets");
    mnuHelp = menuBar()->addMenu(tr("&Help"));
    mnuHelp->setObjectName("mnuHelp");
    mnuWebsite = mnuHelp->addAction(tr("&Web site"));
    mnuWebsite->setObjectName("mnuWebsite");
    // After the designed entry, which keeps its place; F1 is where users look for help.
    mnuManual = mnuHelp->addAction(tr("&Manual"));
    mnuManual->setObjectName("mnuManual");
    mnuManual->setShortcut(QKeySequence(Qt::Key_F1));
}

void frmZCM::setKeyboardOrder() {
    const QList<QWidget*> order{txtOriginalVideo, cmdBrowseVideo,  txtSaveAs,     cmdSaveAs,
                                txtWidth,         txtHeight,       optLiveAction, cboPlatform,
                                txtVideoBitrate,  txtAudioBitrate, txtSampleRate, cmdGenerate,
                                cmdClear,         cmdExit,         optAnime,      txtFFMPEGCode,
                                cmdConvert,       txtffmpegexe,    cmdffmpegexe};
    for (qsizetype i = 1; i < order.size(); ++i) {
        setTabOrder(order[i - 1], order[i]);
    }
    optionToggled();
}

void frmZCM::connectHandlers() {
    connect(cmdGenerate, &QPushButton::clicked, this, &frmZCM::cmdGenerate_Click);
    connect(cmdConvert, &QPushButton::clicked, this, &frmZCM::cmdConvert_Click);
    connect(cmdClear, &QPushButton::clicked, this, &frmZCM::cmdClear_Click);
    connect(cmdExit, &QPushButton::clicked, this, &frmZCM::cmdExit_Click);
    connect(cmdBrowseVideo, &QPushButton::clicked, this, &frmZCM::cmdBrowseVideo_Click);
    connect(cmdSaveAs, &QPushButton::clicked, this, &frmZCM::cmdSaveAs_Click);
    connect(cmdffmpegexe, &QPushButton::clicked, this, &frmZCM::cmdffmpegexe_Click);
    connect(mnuSaveINI, &QAction::triggered, this, &frmZCM::mnuSaveINI_Click);
    connect(mnuWebsite, &QAction::triggered, this, &frmZCM::mnuWebsite_Click);
    connect(mnuManual, &QAction::triggered, this, &frmZCM::mnuManual_Click);
    connect(mnuDetectSize, &QAction::triggered, this, &frmZCM::mnuDetectSize_Click);
    connect(mnuModernCommand, &QAction::triggered, this, &frmZCM::mnuModernCommand_Click);
    connect(mnuBestQuality, &QAction::triggered, this, &frmZCM::followPreview);
    connect(mnuCropBars, &QAction::triggered, this, &frmZCM::mnuCropBars_Click);
    connect(soundStreams_, &QActionGroup::triggered, this, &frmZCM::followPreview);
    connect(txtOriginalVideo, &QLineEdit::editingFinished, this, &frmZCM::lookForBars);
    connect(txtffmpegexe, &QLineEdit::textChanged, this, &frmZCM::showCommandForm);
    connect(form_, &EncoderForm::decided, this, &frmZCM::showCommandForm);
    connect(form_, &EncoderForm::decided, this, &frmZCM::followPreview);
    connect(form_, &EncoderForm::decided, this, &frmZCM::runFormWaiters);
    connect(form_, &EncoderForm::h264Answered, this, &frmZCM::showServedTargets);
    connect(mnuPreview, &QAction::triggered, this, &frmZCM::mnuPreview_Click);
    connect(mnuAddToQueue, &QAction::triggered, this, &frmZCM::mnuAddToQueue_Click);
    connect(mnuAddCurrent, &QAction::triggered, this, &frmZCM::mnuAddCurrent_Click);
    connect(mnuQueue, &QAction::triggered, this, &frmZCM::showQueue);
    connect(mnuTargets, &QAction::triggered, this, &frmZCM::mnuTargets_Click);
    // The preview follows every input that changes the fit, the frame or the form.
    for (QLineEdit* box : {txtOriginalVideo, txtWidth, txtHeight, txtffmpegexe}) {
        connect(box, &QLineEdit::textChanged, this, &frmZCM::followPreview);
    }
    connect(cboPlatform, &QComboBox::currentIndexChanged, this, &frmZCM::followPreview);
    connect(movieTypeGroup_, &QButtonGroup::buttonToggled, this, &frmZCM::followPreview);
    connect(cboPlatform, &QComboBox::currentIndexChanged, this, &frmZCM::describePreset);
    connect(cboPlatform, &QComboBox::currentIndexChanged, this, &frmZCM::followTarget);

    const std::pair<QWidget*, void (frmZCM::*)()> focusHandlers[] = {
        {txtOriginalVideo, &frmZCM::txtOriginalVideo_GotFocus},
        {txtSaveAs, &frmZCM::txtSaveAs_GotFocus},
        {txtWidth, &frmZCM::txtWidth_GotFocus},
        {txtHeight, &frmZCM::txtHeight_GotFocus},
        {txtVideoBitrate, &frmZCM::txtVideoBitrate_GotFocus},
        {txtAudioBitrate, &frmZCM::txtAudioBitrate_GotFocus},
        {txtSampleRate, &frmZCM::txtSampleRate_GotFocus},
    };
    for (const auto& [box, handler] : focusHandlers) {
        connect(new FocusWatcher(box, box), &FocusWatcher::gotFocus, this, handler);
    }
    connect(new FocusWatcher(txtFFMPEGCode, txtFFMPEGCode->viewport()), &FocusWatcher::gotFocus, this,
            &frmZCM::txtFFMPEGCode_GotFocus);
}
