#include "ui/EncoderForm.h"

#include "media/Outside.h"

#include <QPointer>

EncoderForm::EncoderForm(zvm::media::Outside& outside, QObject* parent) : QObject(parent), outside_(outside) {}

void EncoderForm::choose(zvm::FormChoice choice) {
    choice_ = choice;
}

bool EncoderForm::isDecidedFor(const QString& encoder) const {
    return choice_ != zvm::FormChoice::Automatic || answeredFor_ == encoder;
}

void EncoderForm::ask(const QString& encoder) {
    if (isDecidedFor(encoder) || asking_ == encoder) {
        return;
    }
    asking_ = encoder;
    QPointer<EncoderForm> self(this);
    outside_.askForm(encoder, [self, encoder](zvm::EncoderAnswer answer) {
        if (self != nullptr && self->asking_ == encoder) {
            self->answered(encoder, answer);
        }
    });
}

zvm::FormDecision EncoderForm::decision() const {
    return zvm::DecideForm(choice_, answer_);
}

void EncoderForm::answered(const QString& encoder, zvm::EncoderAnswer answer) {
    asking_.reset();
    answeredFor_ = encoder;
    answer_ = answer;
    h264_ = zvm::H264Answer::Unknown;
    emit decided();
    if (answer != zvm::EncoderAnswer::Rejects || answeredFor_ != encoder) {
        return; // only today's encoders can write the later targets
    }
    QPointer<EncoderForm> self(this);
    outside_.askH264(encoder, [self, encoder](zvm::H264Answer h264) {
        if (self != nullptr && self->answeredFor_ == encoder) {
            self->h264_ = h264;
            emit self->h264Answered();
        }
    });
}
