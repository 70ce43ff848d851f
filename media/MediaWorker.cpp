#include "media/MediaWorker.h"

#include "media/SubtitleSource.h"
#include "core/Text.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QPointer>
#include <QProcess>
#include <QTimer>

#include <algorithm>
#include <numeric>

namespace zvm::media {

namespace {
// Answers carry a PNG at most; anything longer means the stream has lost its place.
constexpr std::size_t kLongestAnswer = std::size_t{256} * 1024 * 1024;
// Probes written before the previous answer came: enough that the worker never waits for this side,
// few enough that a crash sends little again.
constexpr std::size_t kWrittenAhead = 4;

bool WrittenAhead(const wire::Message& request) {
    return request.get("request") == "probe";
}
} // namespace

MediaWorker::MediaWorker(QString program, QObject* parent)
    : QObject(parent), program_(std::move(program)), timer_(new QTimer(this)), reader_(kLongestAnswer) {
    timer_->setSingleShot(true);
    connect(timer_, &QTimer::timeout, this, [this] {
        fail(Status::Failure(FailureKind::Outside,
                             ZVM_TEXT("zvm", "the media reader did not answer within %1 seconds"),
                             std::to_string((sent_.empty() ? 0 : sent_.front().timeout) / 1000)));
    });
}

MediaWorker::~MediaWorker() {
    if (process_ != nullptr) {
        disconnect(process_, nullptr, this, nullptr);
        process_->closeWriteChannel(); // the worker ends when its input does
        if (!process_->waitForFinished(1000)) {
            process_->kill();
            process_->waitForFinished(1000);
        }
    }
}

MediaWorker& MediaWorker::Shared() {
    static QPointer<MediaWorker> shared;
    if (shared == nullptr) {
        shared = new MediaWorker(FindProgram(), QCoreApplication::instance());
    }
    return *shared;
}

QString MediaWorker::FindProgram() {
    QString named = qEnvironmentVariable("ZVM_MEDIA_WORKER");
    if (!named.isEmpty()) {
        return named;
    }
    const QString name = QStringLiteral("zarnik-video-maker-worker");
    const QString here = QCoreApplication::applicationDirPath();
    for (const QString& path : {here + '/' + name, here + "/../libexec/zarnik-video-maker/" + name,
                                QStringLiteral(ZVM_WORKER_INSTALLED), QStringLiteral(ZVM_WORKER_BUILT)}) {
        if (QFileInfo(path).isFile() && QFileInfo(path).isExecutable()) {
            return path;
        }
    }
    return {};
}

quint64 MediaWorker::ask(wire::Message request, int timeoutMilliseconds, Answer answer) {
    waiting_.push_back({++lastId_, std::move(request), timeoutMilliseconds, std::move(answer)});
    QMetaObject::invokeMethod(this, &MediaWorker::sendNext, Qt::QueuedConnection); // never answers at once
    return lastId_;
}

void MediaWorker::cancel(quint64 id) {
    std::erase_if(waiting_, [id](const Pending& p) { return p.id == id; });
    for (Pending& p : sent_) {
        if (p.id == id) {
            p.answer = nullptr;
        }
    }
}

qint64 MediaWorker::processId() const {
    return process_ != nullptr ? process_->processId() : 0;
}

void MediaWorker::sendNext() {
    while (!waiting_.empty() &&
           (sent_.empty() || (sent_.size() < kWrittenAhead && WrittenAhead(waiting_.front().request)))) {
        sent_.push_back(std::move(waiting_.front()));
        waiting_.pop_front();
        if (process_ == nullptr && !startWorker()) {
            return;
        }
        const std::string bytes = wire::Encode(sent_.back().request);
        process_->write(bytes.data(), static_cast<qint64>(bytes.size()));
        if (sent_.size() == 1) {
            timer_->start(sent_.front().timeout);
        }
    }
}

// False when it could not start: the request waiting for it has failed.
bool MediaWorker::startWorker() {
    if (!startProcess()) {
        fail(Status::Failure(FailureKind::NotFound, ZVM_TEXT("zvm", "the media reader %1 was not found"),
                             "zarnik-video-maker-worker"));
        return false;
    }
    return process_ != nullptr; // a start that fails at once has failed the request already
}

// Starts the worker, which then waits for its first request; false when there is no program to start.
bool MediaWorker::startProcess() {
    if (program_.isEmpty()) {
        return false;
    }
    process_ = new QProcess(this);
    process_->setStandardErrorFile(QProcess::nullDevice());
    reader_ = wire::Reader(kLongestAnswer);
    connect(process_, &QProcess::readyReadStandardOutput, this, &MediaWorker::read);
    connect(process_, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) {
            fail(Status::Failure(FailureKind::Outside, ZVM_TEXT("zvm", "the media reader %1 could not be started"),
                                 program_.toStdString()));
        }
    });
    connect(process_, &QProcess::finished, this, [this](int code, QProcess::ExitStatus how) {
        read(); // an answer written just before the end still counts
        if (how == QProcess::CrashExit) {
            fail(Status::Failure(FailureKind::Outside, ZVM_TEXT("zvm", "the media reader crashed while reading the file")));
        } else {
            fail(Status::Failure(FailureKind::Outside,
                                 ZVM_TEXT("zvm", "the media reader ended while reading the file (exit code %1)"),
                                 std::to_string(code)));
        }
    });
    process_->start(program_, {});
    return true;
}

void MediaWorker::startEarly() {
    if (process_ == nullptr) {
        (void)startProcess(); // not a Status: false means no program, which the first request says
    }
}

void MediaWorker::read() {
    if (process_ == nullptr) {
        return;
    }
    const QByteArray bytes = process_->readAllStandardOutput();
    reader_.append(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    while (process_ != nullptr) {
        auto message = reader_.next();
        if (!message.ok()) {
            // A stream the program cannot read is the reader's fault, not the file's: nothing was
            // judged, so no answer may read as a verdict on the file.
            fail(Status::Failure(FailureKind::Outside, message.status().message(), message.status().detail()));
            return;
        }
        if (!message.value() || sent_.empty()) {
            return;
        }
        const wire::Message& m = *message.value();
        const bool more = m.get("more") == "1";
        const Answer answer = sent_.front().answer;
        if (!more) {
            sent_.pop_front();
            timer_->stop();
            if (!sent_.empty()) { // the worker turns to the next one written ahead
                timer_->start(sent_.front().timeout);
            }
        }
        if (answer) {
            if (m.get("answer") == "ok") {
                answer(m);
            } else {
                answer(Status::Failure(FailureKind::BadInput,
                                       m.get("message").empty() ? "%1" : m.get("message"), m.get("detail")));
            }
        }
        if (!more) {
            QMetaObject::invokeMethod(this, &MediaWorker::sendNext, Qt::QueuedConnection);
        }
    }
}

void MediaWorker::stopWorker() {
    if (process_ != nullptr) {
        disconnect(process_, nullptr, this, nullptr);
        process_->kill();
        process_->waitForFinished(1000);
        process_->deleteLater();
        process_ = nullptr;
    }
}

// The worker is ended with the request it failed on; those written behind it, never begun, and later
// requests go to a fresh one.
void MediaWorker::fail(const Status& why) {
    timer_->stop();
    stopWorker();
    std::optional<Pending> failed;
    if (!sent_.empty()) {
        failed = std::move(sent_.front());
        sent_.pop_front();
    }
    for (; !sent_.empty(); sent_.pop_back()) {
        if (sent_.back().answer) {
            waiting_.push_front(std::move(sent_.back()));
        }
    }
    if (failed && failed->answer) {
        failed->answer(why);
    }
    QMetaObject::invokeMethod(this, &MediaWorker::sendNext, Qt::QueuedConnection);
}

namespace {
// ffprobe's spelling of ratios, which the worker keeps: "32:27" or "30000/1001" (or a plain number),
// as a number; nothing for a missing, zero or malformed one ("0:1", "N/A").
std::optional<double> PositiveRatio(const QString& text, QChar separator) {
    const QStringList parts = text.split(separator);
    bool numOk = false;
    bool denOk = parts.size() == 1;
    const double num = parts.value(0).toDouble(&numOk);
    const double den = parts.size() == 2 ? parts[1].toDouble(&denOk) : 1.0;
    return numOk && denOk && num > 0 && den > 0 ? std::optional(num / den) : std::nullopt;
}
} // namespace

SizeDetection ReadSize(const Result<wire::Message>& answer) {
    if (!answer.ok()) {
        return {std::nullopt, answer.status(), {}};
    }
    const wire::Message& m = answer.value();
    if (!m.has("video_codec")) {
        return {std::nullopt, Status::Failure(FailureKind::BadInput, ZVM_TEXT("zvm", "the file has no video stream")), {}};
    }
    const QSize size(QString::fromStdString(m.get("display_width")).toInt(),
                     QString::fromStdString(m.get("display_height")).toInt());
    if (size.isEmpty()) {
        return {std::nullopt, Status::Failure(FailureKind::BadInput, ZVM_TEXT("zvm", "the video stream has no size")), {}};
    }
    SizeDetection detected{size, {}, ReadOutput(m).duration};
    detected.subtitleStreams = SubtitleStreams(m.get("streams"));
    detected.hasAudio = m.has("audio_codec");
    detected.pixels = QSize(QString::fromStdString(m.get("width")).toInt(),
                            QString::fromStdString(m.get("height")).toInt());
    // "num:den" of one pixel, in lowest terms; square when the file does not say.
    const QStringList sar = QString::fromStdString(m.get("sar")).split(QLatin1Char(':'));
    const int num = sar.value(0).toInt();
    const int den = sar.value(1).toInt();
    if (num > 0 && den > 0) {
        const int common = std::gcd(num, den);
        detected.pixelAspect = QSize(num / common, den / common);
    }
    for (const QString& line : QString::fromStdString(m.get("audio_streams")).split('\n', Qt::SkipEmptyParts)) {
        const QStringList parts = line.split('\t');
        detected.audioStreams.push_back({parts.value(0).toStdString(), parts.value(3).toStdString(),
                                         parts.value(1).toInt(), parts.value(2) == QLatin1String("1")});
    }
    detected.frameRate = PositiveRatio(QString::fromStdString(m.get("frame_rate")), '/');
    const std::string order = m.get("field_order");
    if (order == "progressive") {
        detected.interlaced = false;
    } else if (order == "tt" || order == "bb" || order == "tb" || order == "bt") {
        detected.interlaced = true;
    }
    return detected;
}

PictureLook ReadLook(const Result<wire::Message>& answer) {
    PictureLook look;
    if (!answer.ok()) {
        look.error = answer.status();
        look.cropWhy = answer.status().text();
        return look;
    }
    const wire::Message& m = answer.value();
    if (const std::optional<CropChoice> crop = ParseCrop(m.get("crop")); crop && crop->mode == CropMode::Rect) {
        look.crop = *crop;
        look.crop.sourceWidth = QString::fromStdString(m.get("width")).toInt();
        look.crop.sourceHeight = QString::fromStdString(m.get("height")).toInt();
    } else {
        look.cropWhy = m.has("crop_why") ? m.get("crop_why") : std::string("no crop was measured");
    }
    const int interlaced = QString::fromStdString(m.get("interlaced_frames")).toInt();
    const int progressive = QString::fromStdString(m.get("progressive_frames")).toInt();
    // Flagged so by the decoder, or combed in most frames though not flagged (a file that does not say).
    const int combed = QString::fromStdString(m.get("combed_frames")).toInt();
    if (interlaced + progressive > 0) {
        look.interlaced = interlaced > progressive || 2 * combed > interlaced + progressive;
    }
    return look;
}

namespace {
// Whether an MP4's boxes ("ftyp,moov,free,mdat") have the index before the data; nothing when they
// do not name both.
std::optional<bool> IndexFirst(const std::string& boxes) {
    const QStringList names = QString::fromStdString(boxes).split(',');
    const qsizetype index = names.indexOf("moov");
    const qsizetype data = names.indexOf("mdat");
    return index >= 0 && data >= 0 ? std::optional(index < data) : std::nullopt;
}
} // namespace

ProbedOutput ReadOutput(const wire::Message& answer) {
    const auto number = [&answer](const char* name) {
        bool ok = false;
        const double value = QString::fromStdString(answer.get(name)).toDouble(&ok);
        return ok ? std::optional(value) : std::nullopt;
    };
    const auto whole = [&number](const char* name) {
        const auto value = number(name);
        return value ? std::optional(static_cast<int>(*value)) : std::nullopt;
    };
    ProbedOutput file;
    file.width = whole("width");
    file.height = whole("height");
    file.videoCodec = answer.get("video_codec");
    file.frameRate = PositiveRatio(QString::fromStdString(answer.get("frame_rate")), '/');
    file.audioCodec = answer.get("audio_codec");
    const std::string sounds = answer.get("audio_streams");
    file.audioLanguage = sounds.substr(0, std::min(sounds.find('\t'), sounds.find('\n')));
    file.sampleRate = number("sample_rate");
    file.channels = whole("channels");
    file.duration = number("duration");
    file.pixelAspect = PositiveRatio(QString::fromStdString(answer.get("sar")), ':');
    const auto kilobits = [&number](const char* name) {
        const auto bits = number(name);
        return bits ? std::optional(*bits / 1000) : std::nullopt;
    };
    file.videoBitrate = kilobits("video_bitrate");
    file.audioBitrate = kilobits("audio_bitrate");
    file.videoProfile = answer.get("video_profile");
    file.videoLevel = whole("video_level");
    file.brand = answer.get("brand");
    file.referenceFrames = whole("reference_frames");
    file.bFrames = answer.has("b_frames") ? std::optional(answer.get("b_frames") == "1") : std::nullopt;
    file.peakVideoBitrate = kilobits("peak_video_bitrate");
    file.indexFirst = IndexFirst(answer.get("boxes"));
    return file;
}

QString StatusText(const Status& status) {
    const QString message = QCoreApplication::translate(ZVM_TEXT_CONTEXT, status.message().c_str());
    return message.contains(QLatin1String("%1")) ? message.arg(QString::fromStdString(status.detail()))
                                                 : message;
}

} // namespace zvm::media
