#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <sys/types.h>

namespace zvm::process {

// Waits for what an ended encoder left behind in its process group (a child may still be writing the
// output). Members this program adopted (a subreaper's orphans) are reaped as they end. Past the
// grace time, or once hurried, the group is killed; killed members that are still not gone after the
// killed grace are not this program's to wait for (another process's children), and the wait ends.
class GroupWait final : public QObject {
    Q_OBJECT

public:
    static constexpr int kGraceMilliseconds = 20000;
    static constexpr int kKilledGraceMilliseconds = 5000;
    static constexpr int kPollMilliseconds = 50;

    explicit GroupWait(pid_t group, int graceMilliseconds = kGraceMilliseconds, QObject* parent = nullptr);

    // Looks at once, then every kPollMilliseconds; gone() may come from within this call.
    void start();
    // Kills what is left now rather than after the grace time.
    void hurry();
    bool waiting() const { return poll_.isActive(); }

signals:
    void gone();

private:
    void look();

    pid_t group_;
    int grace_;
    QTimer poll_;
    QElapsedTimer clock_;
    bool killed_ = false;
    bool hurried_ = false;
};

} // namespace zvm::process
