#include "media/FormProbe.h"

#include "media/FormQuestion.h"
#include "process/ProcessRun.h"
#include "files/TextCrossing.h"

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

// One question: a kept answer comes at once; otherwise the encoder is asked, and a definite answer
// kept. A time-out may pass; one that cannot be kept is asked again next time, which costs a moment
// and nothing else.
template <class Answer>
void FormProbe::askOnce(const QString& program, const Question<Answer>& question, void (FormProbe::*signal)(Answer)) {
    const std::string path = zvm::files::PathToStd(program);
    if (const std::optional<Answer> known = question.remembered(path)) {
        QTimer::singleShot(0, this, [this, signal, answer = *known] { emit(this->*signal)(answer); });
        return;
    }
    auto* run = new ProcessRun(timeout_, this);
    connect(run, &ProcessRun::done, this, [this, run, path, question, signal](const ProcessResult& result) {
        const QByteArray output = result.out + result.err;
        const Answer answer =
            result.started && !result.timedOut
                ? question.read(result.exitCode, std::string_view(output.constData(), std::size_t(output.size())))
                : Answer::Unknown;
        question.remember(path, answer).ignore();
        run->deleteLater();
        emit(this->*signal)(answer);
    });
    run->start(program, Arguments(question.words()));
}

void FormProbe::ask(const QString& program) {
    using namespace zvm::media;
    askOnce<zvm::EncoderAnswer>(program, {ClassicQuestion, ReadClassicReply, RememberedAnswer, RememberAnswer},
                                &FormProbe::answered);
}

void FormProbe::askH264(const QString& program) {
    using namespace zvm::media;
    askOnce<zvm::H264Answer>(program, {H264Question, ReadH264Reply, RememberedH264, RememberH264},
                             &FormProbe::h264Answered);
}
