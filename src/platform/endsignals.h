#pragma once

#include <QObject>

class QSocketNotifier;

/// The signals that end a session from outside (SIGTERM from a logout or a
/// shutdown, SIGHUP from a closed terminal, SIGINT from Ctrl+C), turned into
/// a Qt signal of the event loop: the handler only writes the signal's
/// number into a pipe, which the event loop reads.
///
/// One instance at a time; while it lives, those signals no longer end the
/// program by themselves.
class EndSignals : public QObject {
    Q_OBJECT
public:
    explicit EndSignals(QObject *parent = nullptr);
    ~EndSignals() override;

Q_SIGNALS:
    /// One of the signals arrived (its number).
    void received(int signal);

private:
    void readPipe();

    QSocketNotifier *m_notifier = nullptr;
};
