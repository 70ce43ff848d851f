#include "media/OutputCheck.h"

#include "core/Cut.h"
#include "files/TextCrossing.h"

#include <QCoreApplication>

#include <filesystem>

namespace {
// What the file is, as the fits line says it: "368x208, mpeg4, 29.97 fps, AAC 24000 Hz stereo".
QString Describe(const zvm::ProbedOutput& file) {
    if (file.audioCodec.empty()) {
        return OutputCheck::tr("%1x%2, %3, %4 fps, no sound")
            .arg(file.width.value_or(0))
            .arg(file.height.value_or(0))
            .arg(QString::fromStdString(file.videoCodec),
                 QString::fromStdString(zvm::FrameRateText(file.frameRate.value_or(0))));
    }
    const int channels = file.channels.value_or(0);
    const QString layout = channels == 2   ? OutputCheck::tr("stereo")
                           : channels == 1 ? OutputCheck::tr("mono")
                                           : OutputCheck::tr("%1 channels").arg(channels);
    return OutputCheck::tr("%1x%2, %3, %4 fps, %5 %6 Hz %7")
        .arg(file.width.value_or(0))
        .arg(file.height.value_or(0))
        .arg(QString::fromStdString(file.videoCodec),
             QString::fromStdString(zvm::FrameRateText(file.frameRate.value_or(0))),
             QString::fromStdString(file.audioCodec).toUpper(),
             QString::fromStdString(zvm::NumberText(file.sampleRate.value_or(0))), layout);
}

// The words ffprobe's comparison names, for translation.
[[maybe_unused]] const char* const kAspects[] = {
    QT_TRANSLATE_NOOP("OutputCheck", "width"),       QT_TRANSLATE_NOOP("OutputCheck", "height"),
    QT_TRANSLATE_NOOP("OutputCheck", "video codec"), QT_TRANSLATE_NOOP("OutputCheck", "frame rate"),
    QT_TRANSLATE_NOOP("OutputCheck", "audio codec"), QT_TRANSLATE_NOOP("OutputCheck", "sample rate"),
    QT_TRANSLATE_NOOP("OutputCheck", "channels"),    QT_TRANSLATE_NOOP("OutputCheck", "duration"),
    QT_TRANSLATE_NOOP("OutputCheck", "pixel aspect"), QT_TRANSLATE_NOOP("OutputCheck", "sound language"),
};

// The limits' words, for translation.
[[maybe_unused]] const char* const kLimits[] = {
    QT_TRANSLATE_NOOP("OutputCheck", "profile"),          QT_TRANSLATE_NOOP("OutputCheck", "level"),
    QT_TRANSLATE_NOOP("OutputCheck", "video bitrate"),    QT_TRANSLATE_NOOP("OutputCheck", "picture size"),
    QT_TRANSLATE_NOOP("OutputCheck", "pixels per frame"), QT_TRANSLATE_NOOP("OutputCheck", "audio bitrate"),
    QT_TRANSLATE_NOOP("OutputCheck", "brand"),            QT_TRANSLATE_NOOP("OutputCheck", "sound stream"),
    QT_TRANSLATE_NOOP("OutputCheck", "reference frames"), QT_TRANSLATE_NOOP("OutputCheck", "B-frames"),
    QT_TRANSLATE_NOOP("OutputCheck", "video bitrate in its fullest second"),
    QT_TRANSLATE_NOOP("OutputCheck", "index before the data"),
};

// How the file keeps its player's limits: all of them, or which it does not and why, in plain words.
QString LimitsRemark(const zvm::OutputTarget& target, const zvm::ProbedOutput& file) {
    if (!target.limits) {
        return {};
    }
    const zvm::LimitVerdict verdict = zvm::CheckLimits(*target.limits, file);
    if (verdict.checked == 0) {
        return {};
    }
    const QString device = QString::fromStdString(std::string(target.limits->device.empty() ? target.screen
                                                                                            : target.limits->device));
    const int held = verdict.checked - static_cast<int>(verdict.missed.size());
    // Where the firmware decides, which firmware plays the file.
    const std::string firmware(zvm::FirmwareSays(*target.limits, file.brand));
    const QString says = firmware.empty()
                             ? QString()
                             : OutputCheck::tr("; ") + QCoreApplication::translate("zvm", firmware.c_str());
    if (verdict.missed.empty()) {
        return OutputCheck::tr("Plays on %1: %2 of %3 limits held").arg(device).arg(held).arg(verdict.checked) + says;
    }
    QStringList misses;
    for (const zvm::LimitMiss& miss : verdict.missed) {
        const QString what = QCoreApplication::translate("OutputCheck", miss.what.c_str());
        const QString found = QString::fromStdString(miss.found);
        const QString allowed = QString::fromStdString(miss.allowed);
        switch (miss.kind) {
        case zvm::LimitMiss::Kind::AtMost:
            misses << OutputCheck::tr("its %1 is %2, more than the %3 it plays").arg(what, found, allowed);
            break;
        case zvm::LimitMiss::Kind::OneOf:
            misses << OutputCheck::tr("its %1 is %2, where it plays %3").arg(what, found, allowed);
            break;
        case zvm::LimitMiss::Kind::MultipleOf16:
            misses << OutputCheck::tr("its %1 %2 is not a multiple of 16").arg(what, found);
            break;
        case zvm::LimitMiss::Kind::Missing:
            misses << OutputCheck::tr("it has no %1, which it needs").arg(what);
            break;
        case zvm::LimitMiss::Kind::Unwanted:
            misses << OutputCheck::tr("it has %1, which it does not play").arg(what);
            break;
        }
    }
    return OutputCheck::tr("May not play on %1: %2 of %3 limits held; %4")
        .arg(device)
        .arg(held)
        .arg(verdict.checked)
        .arg(misses.join(OutputCheck::tr("; "))) + says;
}

QString Kbit(double value) {
    return QString::number(value, 'f', 0);
}

// A cut's span and how long the file lasts against the part kept, so the line says what its duration
// was held to.
QString CutRemark(const zvm::OutputTarget& target, const zvm::ProbedOutput& file, const zvm::SourceFacts& source) {
    const auto kept = zvm::KeptSeconds(target.cutStart, target.cutEnd, source.duration);
    if ((!target.cutStart && !target.cutEnd) || !kept || !file.duration) {
        return {};
    }
    const auto clock = [](double seconds) { return QString::fromStdString(zvm::CutClockText(seconds)); };
    const auto number = [](double value) { return QString::fromStdString(zvm::NumberText(value)); };
    const QString start = clock(target.cutStart.value_or(0));
    const QString end = target.cutEnd ? clock(*target.cutEnd) : OutputCheck::tr("the end");
    return zvm::ExactCut(target.cutEnd, source.duration)
               ? OutputCheck::tr("cut %1 to %2: %3 s of %4 s kept (within %5 s)")
                     .arg(start, end, number(*file.duration), number(*kept),
                          QString::number(zvm::DurationTolerance(target, file, source), 'f', 2))
               : OutputCheck::tr("cut %1 to %2: %3 s of %4 s kept").arg(start, end, number(*file.duration),
                                                                        number(*kept));
}

// What the line adds after its verdict: the bitrates measured beside those asked for, a cut's span,
// and what a TV shows of a picture fitted for square pixels.
QString Remarks(const zvm::OutputTarget& target, const zvm::ProbedOutput& file, const zvm::SourceFacts& source) {
    QStringList remarks;
    if (const QString limits = LimitsRemark(target, file); !limits.isEmpty()) {
        remarks << limits;
    }
    if (const QString cut = CutRemark(target, file, source); !cut.isEmpty()) {
        remarks << cut;
    }
    if (file.videoBitrate) {
        remarks << (target.videoBitrate ? OutputCheck::tr("video %1 kbit/s (asked %2)")
                                              .arg(Kbit(*file.videoBitrate), Kbit(*target.videoBitrate))
                                        : OutputCheck::tr("video %1 kbit/s").arg(Kbit(*file.videoBitrate)));
    }
    if (file.audioBitrate) {
        remarks << (target.audioBitrate ? OutputCheck::tr("audio %1 kbit/s (asked %2)")
                                              .arg(Kbit(*file.audioBitrate), Kbit(*target.audioBitrate))
                                        : OutputCheck::tr("audio %1 kbit/s").arg(Kbit(*file.audioBitrate)));
    }
    if (const std::optional<int> over = zvm::VideoBitrateOver(target, file)) {
        remarks << OutputCheck::tr("the video is %1% over the bitrate asked").arg(*over);
    }
    if (file.bytes && target.fileSizeMB) {
        remarks << OutputCheck::tr("file %1 MB (asked %2 MB)")
                       .arg(QString::number(*file.bytes / 1e6, 'f', 2),
                            QString::fromStdString(zvm::NumberText(*target.fileSizeMB)));
    }
    if (const auto off = zvm::FileSizeOff(target, file)) {
        remarks << (off->way == zvm::SizeOff::Way::Over
                        ? OutputCheck::tr("the file is %1% over the size asked").arg(off->percent)
                        : OutputCheck::tr("the file is %1% under the size asked: the encoder reached its best "
                                          "quality with fewer bits")
                              .arg(off->percent));
    }
    if (!target.audioLanguage.empty() && !target.keepsLanguage) {
        remarks << OutputCheck::tr("this file keeps no language tag, so the sound stream's language (%1) was not checked")
                       .arg(QString::fromStdString(target.audioLanguage));
    } else if (!target.audioLanguage.empty()) {
        remarks << OutputCheck::tr("sound in %1").arg(QString::fromStdString(file.audioLanguage));
    }
    if (target.shownNarrowerPercent > 0) {
        remarks << OutputCheck::tr("on a 4:3 TV the picture appears %1% narrower; the target '%2' fits it")
                       .arg(target.shownNarrowerPercent)
                       .arg(QString::fromStdString(target.fitsShown));
    }
    return remarks.isEmpty() ? QString() : OutputCheck::tr("; ") + remarks.join(OutputCheck::tr("; "));
}
} // namespace

// By the path's bytes: Qt's file calls cannot reach a name that is not UTF-8.
std::optional<CheckReport> OutputCheck::Missing(const QString& outputPath) {
    const std::string bytes = zvm::files::PathToStd(outputPath);
    std::error_code error;
    if (!std::filesystem::is_regular_file(bytes, error) || std::filesystem::file_size(bytes, error) == 0) {
        return CheckReport{CheckReport::Verdict::Missing,
                           tr("The encoder ended without writing %1").arg(outputPath)};
    }
    return std::nullopt;
}

CheckReport OutputCheck::Unreadable(const QString& why) {
    return {CheckReport::Verdict::Differs, tr("The output is not a readable video: %1").arg(why)};
}

CheckReport OutputCheck::Judge(const zvm::ProbedOutput& file, const zvm::OutputTarget& target,
                               const zvm::SourceFacts& source) {
    const std::vector<zvm::Difference> differences = zvm::Differences(target, file, source);
    const QString screen = QString::fromStdString(target.screen);
    if (differences.empty()) {
        return {CheckReport::Verdict::Fits, tr("Fits %1: %2").arg(screen, Describe(file)) + Remarks(target, file, source)};
    }
    QStringList words;
    for (const zvm::Difference& d : differences) {
        const QString what = QCoreApplication::translate("OutputCheck", d.what.c_str());
        words << (d.found.empty()
                      ? tr("no %1, expected %2").arg(what, QString::fromStdString(d.expected))
                      : tr("%1 %2, expected %3")
                            .arg(what, QString::fromStdString(d.found), QString::fromStdString(d.expected)));
    }
    return {CheckReport::Verdict::Differs,
            tr("Does not fit %1: %2").arg(screen, words.join(tr("; "))) + Remarks(target, file, source)};
}
