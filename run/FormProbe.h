#pragma once

#include "CommandForm.h"

#include <QHash>
#include <QObject>
#include <QString>

// Asks an encoder whether it knows the classic options, by giving it some of them with -version:
// an encoder that knows them prints its version, one that does not names the unknown option. The
// answer is kept per program file and modification time, so each build is asked once.
class FormProbe : public QObject {
    Q_OBJECT

public:
    static constexpr int kTimeoutMilliseconds = 5000;

    explicit FormProbe(QObject* parent = nullptr, int timeoutMilliseconds = kTimeoutMilliseconds);

    // program is a path to an executable file. The answer comes through answered(), later.
    void ask(const QString& program);

signals:
    void answered(const QString& program, zvm::EncoderAnswer answer);

private:
    int timeout_;
    QHash<QString, zvm::EncoderAnswer> known_;
};

// How an encoder's reply to the question reads; Unknown when it neither knew nor refused them.
zvm::EncoderAnswer ReadClassicReply(int exitCode, const QByteArray& output);
