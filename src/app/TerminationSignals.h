#pragma once

#include <QObject>

class QSocketNotifier;

// SIGTERM, SIGHUP and SIGINT as a signal of the event loop: the editor asked
// to end by the system (a shutdown, a closed terminal, `kill`) keeps the
// user's work in its recovery copy and releases its lock, instead of dying
// with both left behind. The signal handler only writes a byte into a pipe
// that the event loop reads; a second signal ends the program at once, as
// if no handler were installed (whatever holds the first up, the caller
// wants the program gone). One instance at a time; its destruction puts the
// default handlers back.
class TerminationSignals : public QObject
{
    Q_OBJECT

public:
    explicit TerminationSignals(QObject *parent = nullptr);
    ~TerminationSignals() override;
    TerminationSignals(const TerminationSignals &) = delete;
    TerminationSignals &operator=(const TerminationSignals &) = delete;

    bool isActive() const { return m_notifier != nullptr; }

signals:
    void received(int signal);

private:
    void readSignal();

    QSocketNotifier *m_notifier = nullptr;
};
