#include "ui/TargetsDialog.h"

#include "ui/Platform.h"
#include "settings/TargetsFile.h"
#include "files/TextCrossing.h"
#include "ui/Translated.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QStandardItemModel>
#include <QVBoxLayout>

#include <algorithm>

using zvm::files::ToQString;
using zvm::files::ToStd;

namespace {
QComboBox* Words(QWidget* parent, const QStringList& words) {
    auto* box = new QComboBox(parent);
    box->addItems(words);
    return box;
}
// The built-in targets, each with its name as the item's data; after the first eight, a heading for
// each family.
void AddBuiltIns(QComboBox* box) {
    std::string_view family;
    const std::span<const zvm::TargetPreset> builtIn = zvm::BuiltInTargets();
    for (std::size_t row = 0; row < builtIn.size(); ++row) {
        const zvm::TargetPreset& t = builtIn[row];
        if (row >= 8 && t.family != family) {
            box->insertSeparator(box->count());
            box->addItem(Translated(std::string(t.family)));
            auto* model = qobject_cast<QStandardItemModel*>(box->model());
            if (model != nullptr) {
                model->item(box->count() - 1)->setEnabled(false);
            }
            family = t.family;
        }
        box->addItem(ToQString(std::string(t.displayText)), ToQString(std::string(t.name)));
    }
}
} // namespace

TargetsDialog::TargetsDialog(Platform& platform, std::filesystem::path file, bool damagedInPlace, QWidget* parent)
    : QDialog(parent), platform_(platform), file_(std::move(file)), damagedInPlace_(damagedInPlace),
      targets_(zvm::UserTargets()), saved_(targets_) {
    setObjectName(QStringLiteral("TargetsDialog"));
    setWindowTitle(tr("Your targets"));
    buildLayout();
    fillList();
    // Room for a label such as "PSP - 480x272 (H.264)" without scrolling, beside the list.
    resize(std::max(sizeHint().width(), 760), sizeHint().height());
}

void TargetsDialog::buildLayout() {
    auto* layout = new QVBoxLayout(this);
    auto* note = new QLabel(tr("Your own target screens, listed after the built-in ones. The built-in targets "
                               "are not shown here: they cannot be changed."),
                            this);
    note->setWordWrap(true);
    layout->addWidget(note);
    auto* middle = new QHBoxLayout;
    list = new QListWidget(this);
    list->setAccessibleName(tr("Your targets"));
    middle->addWidget(list, 2);
    auto* form = new QFormLayout;
    // Long labels beside short fields: every field takes the width that is left, whatever the style says.
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    txtName = new QLineEdit(this);
    txtLabel = new QLineEdit(this);
    spnWidth = new QSpinBox(this);
    spnHeight = new QSpinBox(this);
    for (QSpinBox* side : {spnWidth, spnHeight}) {
        side->setRange(16, 4096);
        side->setSingleStep(2);
    }
    spnWidth->setValue(480);
    spnHeight->setValue(272);
    txtPixelAspect = new QLineEdit(QStringLiteral("1:1"), this);
    cboVideo = Words(this, {"mpeg4", "h264", "vcd", "h264-baseline", "mjpeg", "amv", "rgb565le", "rgb565be", "mpeg1"});
    cboContainer = Words(this, {"mp4", "psp", "mpg", "avi", "amv", "raw", "dpg"});
    cboNorm = Words(this, {"", "ntsc", "pal"});
    txtFrameRate = new QLineEdit(QStringLiteral("30000/1001"), this);
    txtAudioBitrate = new QLineEdit(this);
    txtSampleRate = new QLineEdit(this);
    // A player a little different from a built-in one starts from that one's fields.
    auto* start = new QHBoxLayout;
    cboBase = new QComboBox(this);
    cboBase->setAccessibleName(tr("Built-in target to copy"));
    AddBuiltIns(cboBase);
    auto* copy = new QPushButton(tr("Cop&y"), this);
    connect(copy, &QPushButton::clicked, this, &TargetsDialog::copyBuiltIn);
    start->addWidget(cboBase, 1);
    start->addWidget(copy);
    auto* startLabel = new QLabel(tr("S&tart from:"), this);
    startLabel->setBuddy(cboBase);
    form->addRow(startLabel, start);
    form->addRow(tr("&Name (the tool's word):"), txtName);
    form->addRow(tr("&Label (the list's text):"), txtLabel);
    form->addRow(tr("&Width:"), spnWidth);
    form->addRow(tr("&Height:"), spnHeight);
    form->addRow(tr("&Pixel aspect (W:H):"), txtPixelAspect);
    form->addRow(tr("&Video:"), cboVideo);
    form->addRow(tr("&Container:"), cboContainer);
    form->addRow(tr("N&orm (VCD only):"), cboNorm);
    form->addRow(tr("Highest &frame rate:"), txtFrameRate);
    form->addRow(tr("&Audio bitrate (kbit/s, optional):"), txtAudioBitrate);
    form->addRow(tr("&Sample rate (Hz, optional):"), txtSampleRate);
    middle->addLayout(form, 3);
    layout->addLayout(middle);
    auto* buttons = new QHBoxLayout;
    const std::pair<QString, void (TargetsDialog::*)()> actions[] = {{tr("A&dd"), &TargetsDialog::addTarget},
                                                                     {tr("&Replace"), &TargetsDialog::replaceTarget},
                                                                     {tr("Re&move"), &TargetsDialog::removeTarget}};
    for (const auto& [caption, handler] : actions) {
        auto* button = new QPushButton(caption, this);
        connect(button, &QPushButton::clicked, this, handler);
        buttons->addWidget(button);
    }
    buttons->addStretch();
    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(box, &QDialogButtonBox::accepted, this, [this] {
        if (save()) {
            accept();
        }
    });
    connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);
    buttons->addWidget(box);
    layout->addLayout(buttons);
    connect(list, &QListWidget::currentRowChanged, this, &TargetsDialog::showTarget);
}

void TargetsDialog::fillList() {
    list->clear();
    for (const zvm::UserTarget& t : targets_) {
        list->addItem(ToQString(t.name) + QStringLiteral(" - ") + ToQString(t.label));
    }
}

void TargetsDialog::showTarget(int row) {
    if (row < 0 || row >= static_cast<int>(targets_.size())) {
        return;
    }
    showFields(targets_[static_cast<std::size_t>(row)]);
}

void TargetsDialog::showFields(const zvm::UserTarget& t) {
    base_ = t.base;
    txtName->setText(ToQString(t.name));
    txtLabel->setText(ToQString(t.label));
    spnWidth->setValue(t.width);
    spnHeight->setValue(t.height);
    txtPixelAspect->setText(ToQString(zvm::AspectText(t.pixelAspect)));
    cboVideo->setCurrentText(ToQString(zvm::VideoWord(t.video)));
    cboContainer->setCurrentText(ToQString(zvm::ContainerWord(t.container)));
    cboNorm->setCurrentText(ToQString(zvm::NormWord(t.norm)));
    txtFrameRate->setText(ToQString(zvm::RateText(t.maxFrameRate)));
    txtAudioBitrate->setText(ToQString(t.audioBitrate));
    txtSampleRate->setText(ToQString(t.sampleRate));
}

void TargetsDialog::copyBuiltIn() {
    const zvm::TargetPreset* builtIn = zvm::FindBuiltIn(ToStd(cboBase->currentData().toString()));
    if (builtIn == nullptr) {
        return;
    }
    const zvm::UserTarget copy = zvm::CopyOfBuiltIn(*builtIn);
    list->setCurrentRow(-1);
    showFields(copy);
    txtLabel->setText(tr("Copy of %1").arg(ToQString(std::string(builtIn->displayText))));
    txtName->setFocus();
    txtName->selectAll();
}

std::optional<zvm::UserTarget> TargetsDialog::formTarget() {
    zvm::UserTarget t;
    t.name = ToStd(txtName->text().trimmed());
    t.label = ToStd(txtLabel->text().trimmed());
    t.width = spnWidth->value();
    t.height = spnHeight->value();
    const auto aspect = zvm::AspectFromText(ToStd(txtPixelAspect->text().trimmed()));
    const auto rate = zvm::RateFromText(ToStd(txtFrameRate->text().trimmed()));
    if (!aspect || !rate) {
        platform_.showMessage(this,
                              !aspect ? tr("The pixel aspect must be two whole numbers, such as 10:11.")
                                      : tr("The frame rate must be a whole number or a fraction, such as 25 or "
                                           "30000/1001."),
                              windowTitle());
        return std::nullopt;
    }
    t.pixelAspect = *aspect;
    t.maxFrameRate = *rate;
    t.video = zvm::VideoFromWord(ToStd(cboVideo->currentText())).value_or(zvm::VideoKind::Mpeg4);
    t.container = zvm::ContainerFromWord(ToStd(cboContainer->currentText())).value_or(zvm::Container::Mp4);
    t.norm = zvm::NormFromWord(ToStd(cboNorm->currentText())).value_or(zvm::Norm::None);
    t.audioBitrate = ToStd(txtAudioBitrate->text().trimmed());
    t.sampleRate = ToStd(txtSampleRate->text().trimmed());
    t.base = base_;
    return t;
}

bool TargetsDialog::acceptable(const zvm::UserTarget& target, int skip) {
    std::vector<zvm::UserTarget> all = targets_;
    if (skip >= 0) {
        all.erase(all.begin() + skip);
    }
    all.push_back(target);
    const zvm::Status checked = zvm::settings::CheckUserTargets(all);
    if (!checked.ok()) {
        platform_.showMessage(this, tr("The target was not taken: %1").arg(Translated(checked)), windowTitle());
    }
    return checked.ok();
}

void TargetsDialog::addTarget() {
    const std::optional<zvm::UserTarget> target = formTarget();
    if (target && acceptable(*target, -1)) {
        targets_.push_back(*target);
        fillList();
        list->setCurrentRow(static_cast<int>(targets_.size()) - 1);
    }
}

void TargetsDialog::replaceTarget() {
    const int row = list->currentRow();
    if (row < 0) {
        platform_.showMessage(this, tr("Choose the target to replace in the list first."), windowTitle());
        return;
    }
    const std::optional<zvm::UserTarget> target = formTarget();
    if (target && acceptable(*target, row)) {
        targets_[static_cast<std::size_t>(row)] = *target;
        fillList();
        list->setCurrentRow(row);
    }
}

void TargetsDialog::removeTarget() {
    const int row = list->currentRow();
    if (row >= 0) {
        targets_.erase(targets_.begin() + row);
        fillList();
    }
}

bool TargetsDialog::save() {
    if (damagedInPlace_) {
        platform_.showMessage(this,
                              tr("%1 is a damaged file that could not be set aside; it is not written over. "
                                 "Move it away and open this dialog again.")
                                  .arg(zvm::files::PathToQString(file_.native())),
                              windowTitle());
        return false;
    }
    const zvm::Status saved = zvm::settings::SaveTargets(file_, targets_);
    if (!saved.ok()) {
        platform_.showMessage(this, tr("Your targets could not be saved: %1").arg(Translated(saved)), windowTitle());
        return false;
    }
    zvm::SetUserTargets(targets_);
    saved_ = targets_;
    return true;
}

void TargetsDialog::reject() {
    if (targets_ == saved_) {
        QDialog::reject();
        return;
    }
    enum { Save, Drop, KeepEditing };
    const int choice = platform_.askChoice(this, tr("Your targets have changes that are not saved."), windowTitle(),
                                           {tr("&Save them"), tr("&Drop them"), tr("&Keep editing")}, KeepEditing);
    if (choice == Drop) {
        QDialog::reject();
    } else if (choice == Save && save()) {
        accept();
    }
}
