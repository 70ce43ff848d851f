#include "FormProbe.h"

#include "FormQuestion.h"
#include "ProcessRun.h"
#include "TextCrossing.h"

#include <QTimer>

namespace {
QStringList Arguments(const std::vector<std::string>& words) {
    QStringList question;
    for (const std::string& word : words) {
        question << zvm::files::PathToQString(word); // arguments, given to exec as they are
    }
    return question;
}
} // namespace

FormProbe::FormProbe(QObject* parent, int timeoutMilliseconds)
    : QObject(parent), timeout_(timeoutMilliseconds) {}

void FormProbe::ask(const QString& program) {
    const std::string path = zvm::files::PathToStd(program);
    if (const auto known = zvm::media::RememberedAnswer(path)) {
        QTimer::singleShot(0, this, [this, answer = *known] { emit answered(answer); });
        return;
    }
    auto* run = new ProcessRun(timeout_, this);
    connect(run, &ProcessRun::done, this, [this, run, path](const ProcessResult& result) {
        const QByteArray output = result.out + result.err;
        const zvm::EncoderAnswer answer =
            result.started && !result.timedOut
                ? zvm::media::ReadClassicReply(result.exitCode,
                                             std::string_view(output.constData(), std::size_t(output.size())))
                : zvm::EncoderAnswer::Unknown;
        // A time-out may pass: only a definite answer is kept. One that cannot be kept is asked again
        // next time, which costs a moment and nothing else.
        zvm::media::RememberAnswer(path, answer).ignore();
        run->deleteLater();
        emit answered(answer);
    });
    run->start(program, Arguments(zvm::media::ClassicQuestion()));
}

void FormProbe::askH264(const QString& program) {
    const std::string path = zvm::files::PathToStd(program);
    if (const auto known = zvm::media::RememberedH264(path)) {
        QTimer::singleShot(0, this, [this, answer = *known] { emit h264Answered(answer); });
        return;
    }
    auto* run = new ProcessRun(timeout_, this);
    connect(run, &ProcessRun::done, this, [this, run, path](const ProcessResult& result) {
        const QByteArray output = result.out + result.err;
        const zvm::H264Answer answer =
            result.started && !result.timedOut
                ? zvm::media::ReadH264Reply(result.exitCode,
                                            std::string_view(output.constData(), std::size_t(output.size())))
                : zvm::H264Answer::Unknown;
        zvm::media::RememberH264(path, answer).ignore(); // unkept, it is asked again next time
        run->deleteLater();
        emit h264Answered(answer);
    });
    run->start(program, Arguments(zvm::media::H264Question()));
}
