#pragma once

#include "core/Presets.h"

#include <QDialog>

#include <filesystem>
#include <string>
#include <vector>

class Platform;
class QComboBox;
class QLineEdit;
class QListWidget;
class QSpinBox;

// The user's own targets: added, replaced and removed here, each checked as targets.json is when
// read, and written to that file on OK. The built-in targets are not listed: they cannot change.
class TargetsDialog : public QDialog {
    Q_OBJECT

public:
    // damagedInPlace: the file is a damaged one that could not be set aside, so OK may not write it.
    TargetsDialog(Platform& platform, std::filesystem::path file, bool damagedInPlace, QWidget* parent = nullptr);

    const std::vector<zvm::UserTarget>& targets() const { return targets_; }

    // The buttons' work, for the tests as for the user.
    void addTarget();
    void replaceTarget();
    void removeTarget();
    // Fills the form with the chosen built-in target as "Copy of ...", to be changed and added.
    void copyBuiltIn();
    // OK: written and made the table's, or said why not (the dialog stays open then).
    bool save();
    // Cancel, Escape and closing the window: with changes not saved, asks first whether to save them,
    // drop them, or go on editing.
    void reject() override;

    QListWidget* list = nullptr;
    QComboBox* cboBase = nullptr;
    QLineEdit* txtName = nullptr;
    QLineEdit* txtLabel = nullptr;
    QSpinBox* spnWidth = nullptr;
    QSpinBox* spnHeight = nullptr;
    QLineEdit* txtPixelAspect = nullptr;
    QComboBox* cboVideo = nullptr;
    QComboBox* cboContainer = nullptr;
    QComboBox* cboNorm = nullptr;
    QLineEdit* txtFrameRate = nullptr;
    QLineEdit* txtAudioBitrate = nullptr;
    QLineEdit* txtSampleRate = nullptr;

private:
    void buildLayout();
    void showTarget(int row);
    void showFields(const zvm::UserTarget& target);
    void fillList();
    // The form's target, or nothing when a text cannot be read (said so).
    std::optional<zvm::UserTarget> formTarget();
    // Checked alone and against the others (all but `skip`); false when refused, said so.
    bool acceptable(const zvm::UserTarget& target, int skip);

    Platform& platform_;
    std::filesystem::path file_;
    bool damagedInPlace_;
    std::vector<zvm::UserTarget> targets_;
    std::vector<zvm::UserTarget> saved_; // as the file holds them
    std::string base_;                   // the built-in target the form's started from
};
