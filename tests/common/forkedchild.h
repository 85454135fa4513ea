#pragma once

// Runs a piece of a test in a forked child process: for limits that must bind
// the child alone (a file size limit, a mount of its own, another user) and
// for commands that might block, which the parent then stops.

#include <QByteArray>
#include <QElapsedTimer>
#include <QString>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <exception>
#include <functional>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

/// What inForkedChild() returns when the child did not finish in time.
inline const QString kChildBlocked = QStringLiteral("child blocked");

/// Runs `work` in a forked child and returns the text it returns (an escaping
/// exception's text after "uncaught: "). When the child has not finished after
/// `seconds`, it is killed and kChildBlocked is returned. The child leaves
/// with _exit: nothing of the parent's state is torn down twice.
inline QString inForkedChild(const std::function<QString()> &work, int seconds = 120)
{
    int fds[2];
    if (pipe(fds) != 0)
        return QStringLiteral("pipe failed");
    std::fflush(stdout);
    std::fflush(stderr);
    const pid_t pid = fork();
    if (pid < 0)
        return QStringLiteral("fork failed");
    if (pid == 0) {
        ::close(fds[0]);
        QByteArray out;
        try {
            out = work().toUtf8();
        } catch (const std::exception &e) {
            out = QByteArray("uncaught: ") + e.what();
        }
        qsizetype done = 0;
        while (done < out.size()) {
            const ssize_t n = ::write(fds[1], out.constData() + done, size_t(out.size() - done));
            if (n <= 0)
                break;
            done += n;
        }
        _exit(0);
    }
    ::close(fds[1]);
    QByteArray in;
    pollfd watch{fds[0], POLLIN, 0};
    QElapsedTimer clock;
    clock.start();
    bool blocked = false;
    for (;;) {
        const int left = seconds * 1000 - int(clock.elapsed());
        if (left <= 0) {
            blocked = true;
            break;
        }
        const int ready = poll(&watch, 1, left);
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0) {
            blocked = true;
            break;
        }
        char buffer[4096];
        const ssize_t n = ::read(fds[0], buffer, sizeof buffer);
        if (n <= 0)
            break;
        in.append(buffer, n);
    }
    ::close(fds[0]);
    if (blocked)
        kill(pid, SIGKILL);
    int status = 0;
    waitpid(pid, &status, 0);
    if (blocked)
        return kChildBlocked;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return QStringLiteral("child died (status %1)").arg(status);
    return QString::fromUtf8(in);
}
