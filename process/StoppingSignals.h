#pragma once

#include <QObject>

#include <csignal>
#include <initializer_list>
#include <vector>

class QSocketNotifier;

// The signals that ask a program to stop (Ctrl+C, a TERM from a session's end, a HUP from a closed
// terminal) as a Qt signal from the event loop: the handler only writes the number into a pipe. One
// at a time in a program; the handlers it replaced come back when it goes.
class StoppingSignals : public QObject {
    Q_OBJECT

public:
    static constexpr int kAll[] = {SIGINT, SIGTERM, SIGHUP};

    explicit StoppingSignals(QObject* parent = nullptr);
    ~StoppingSignals() override;
    StoppingSignals(const StoppingSignals&) = delete;
    StoppingSignals& operator=(const StoppingSignals&) = delete;

signals:
    void arrived(int signal);

private:
    void read();

    QSocketNotifier* notifier_ = nullptr;
    std::vector<struct sigaction> replaced_;
};
