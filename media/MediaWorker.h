#pragma once

#include "core/OutputTarget.h"
#include "media/Answers.h"
#include "core/Status.h"
#include "media/WorkerWire.h"

#include <QObject>
#include <QString>

#include <deque>
#include <functional>

class QProcess;
class QTimer;

namespace zvm::media {

// The program's side of zarnik-video-maker-worker: starts it on the first request, keeps it while
// the program runs, and asks it one request after another. Probes are written ahead, a few at a
// time, so the worker goes from one to the next without waiting for this side; frames are written
// only when the worker is idle, so that a newer frame can still replace a waiting one. Each request
// has a time limit, counted from when the worker turns to it; a worker that crashes or does not
// answer in time is ended, the request it was reading fails with the reason, and those written
// behind it go to a fresh worker.
class MediaWorker : public QObject {
    Q_OBJECT

public:
    // Called with each answer to a request: once, or several times when the worker sends an answer
    // with more=1 before its last one.
    using Answer = std::function<void(const Result<wire::Message>&)>;

    explicit MediaWorker(QString program, QObject* parent = nullptr);
    ~MediaWorker() override;

    // The worker of this program, made on first use and owned by the application.
    static MediaWorker& Shared();
    // ZVM_MEDIA_WORKER when set, else the worker beside the running program, else the installed one;
    // empty when there is none.
    static QString FindProgram();

    // Starts the worker now, if none runs, so that its start overlaps other work (an encoder's run)
    // rather than delaying the first answer; the requests' time limits then no longer count it.
    void startEarly();
    // Queues a request; returns its number for cancel().
    quint64 ask(wire::Message request, int timeoutMilliseconds, Answer answer);
    // A waiting request is dropped; a running one runs on, but its answers are never given.
    void cancel(quint64 id);
    // The running worker's process id, 0 when none runs.
    qint64 processId() const;

private:
    struct Pending {
        quint64 id;
        wire::Message request;
        int timeout;
        Answer answer;
    };

    bool startProcess();
    void sendNext();
    void read();
    void fail(const Status& why);
    bool startWorker();
    void stopWorker();

    QString program_;
    QProcess* process_ = nullptr;
    QTimer* timer_;
    wire::Reader reader_;
    std::deque<Pending> waiting_;
    std::deque<Pending> sent_; // written to the worker, answered in this order; the first is running
    quint64 lastId_ = 0;
};

// A probe answer (or why there is none) as the size detection and the after-check read it.
SizeDetection ReadSize(const Result<wire::Message>& answer);
ProbedOutput ReadOutput(const wire::Message& answer);
PictureLook ReadLook(const Result<wire::Message>& answer);

// A failure of the worker or its client in the user's language, its detail in place.
QString StatusText(const Status& status);

} // namespace zvm::media
