#pragma once

#include "core/CommandForm.h"

#include <QObject>
#include <QString>

#include <optional>

namespace zvm::media {
class Outside;
}

// Which command form the encoder box's program takes: the user's own choice, or else the encoder's
// answer when asked which options it knows. The answer comes later; decided says when it is in, so
// what needs the form acts then and nothing waits. The outside must outlive it.
class EncoderForm : public QObject {
    Q_OBJECT

public:
    explicit EncoderForm(zvm::media::Outside& outside, QObject* parent = nullptr);

    void choose(zvm::FormChoice choice);
    zvm::FormChoice choice() const { return choice_; }
    // Known for this encoder text: chosen by the user, or answered by this very program.
    bool isDecidedFor(const QString& encoder) const;
    // Asks the encoder unless its answer is known or already asked for; decided follows, at once
    // when the outside answers at once. Only the latest question's answer counts.
    void ask(const QString& encoder);
    zvm::FormDecision decision() const;
    zvm::CommandStyle style() const { return decision().style; }
    zvm::EncoderAnswer answer() const { return answer_; }
    zvm::H264Answer h264() const { return h264_; }

signals:
    void decided();
    // The answer about the later targets' H.264 files came, after decided.
    void h264Answered();

private:
    void answered(const QString& encoder, zvm::EncoderAnswer answer);

    zvm::media::Outside& outside_;
    zvm::FormChoice choice_ = zvm::FormChoice::Automatic;
    zvm::EncoderAnswer answer_ = zvm::EncoderAnswer::Unknown;
    zvm::H264Answer h264_ = zvm::H264Answer::Unknown; // asked after the form
    std::optional<QString> answeredFor_; // the encoder text answer_ is for; none before the first answer
    std::optional<QString> asking_;      // the encoder text whose answer is awaited
};
