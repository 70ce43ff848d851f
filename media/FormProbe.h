#pragma once

#include "core/CommandForm.h"
#include "core/Status.h"

#include <QObject>
#include <QString>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Asks an encoder, without blocking, whether it knows the classic options (see FormQuestion.h). An
// answer remembered for this build of the program comes at once.
class FormProbe : public QObject {
    Q_OBJECT

public:
    static constexpr int kTimeoutMilliseconds = 5000;

    explicit FormProbe(QObject* parent = nullptr, int timeoutMilliseconds = kTimeoutMilliseconds);

    // program is a path to an executable file. The answer comes through answered(), later.
    void ask(const QString& program);
    // The same for whether it can write the later targets' H.264 files; through h264Answered().
    void askH264(const QString& program);

signals:
    void answered(zvm::EncoderAnswer answer);
    void h264Answered(zvm::H264Answer answer);

private:
    // How one question is put, read and kept (see FormQuestion.h).
    template <class Answer> struct Question {
        const std::vector<std::string>& (*words)();
        Answer (*read)(int exitCode, std::string_view output);
        std::optional<Answer> (*remembered)(const std::string& program);
        zvm::Status (*remember)(const std::string& program, Answer answer);
    };
    template <class Answer>
    void askOnce(const QString& program, const Question<Answer>& question, void (FormProbe::*signal)(Answer));

    int timeout_;
};
