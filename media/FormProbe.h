#pragma once

#include "CommandForm.h"

#include <QObject>
#include <QString>

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
    int timeout_;
};
