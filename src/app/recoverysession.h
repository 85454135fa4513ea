#pragma once

#include "recovery.h"

#include <QHash>
#include <QObject>
#include <QTimer>

#include <functional>
#include <memory>

class MainWindow;
class MapWindow;
class QuestEditor;
class CopyWriter;

/// Keeps recovery copies of the unsaved maps and the unsaved quest while the
/// program runs, and offers at start-up what an earlier session left.
///
/// A change starts a rest of two seconds; when the work rests that long, or
/// at the latest 30 seconds after the first change not yet copied, the
/// changed documents are taken (a shared copy of the picture, the quest's
/// fields) on the GUI thread and written by a worker thread. A map larger than
/// kLargeMapBytes is copied at most once a minute. A map's copy goes when it
/// is saved or its window closes (after "&No" too); the quest's when its text
/// settles; all of them when the program ends normally.
class RecoverySession : public QObject {
    Q_OBJECT
public:
    static constexpr int kRestMs = 2000;
    static constexpr int kLongestWaitMs = 30000;
    static constexpr int kLargeMapIntervalMs = 60000;
    static constexpr qint64 kLargeMapBytes = 64 << 20;

    /// Watches the maps of `mainWindow`, keeping copies in `store` (opened
    /// here; when that fails, recovery is off and start() says so once).
    /// `questEditor` gives the quest editor, made on first use: restoring a
    /// quest asks for it.
    RecoverySession(MainWindow &mainWindow, std::function<QuestEditor &()> questEditor,
                    std::unique_ptr<recovery::Store> store);
    ~RecoverySession() override;

    /// Watches the quest of the editor, once it is made.
    void trackQuest(QuestEditor &questEditor);

    /// Whether copies are being made.
    bool isOn() const { return m_on; }
    recovery::Store &store() { return *m_store; }

    /// Reports a folder that cannot be used, then offers what earlier
    /// sessions left (see offerRestore). Run once the main window shows.
    void start();
    /// Asks once whether to restore the copies of instances no longer
    /// running; restores them on "Wiederherstellen". Declined copies stay
    /// until the next normal end.
    void offerRestore();

    /// Takes the pending documents (on this thread) and writes them on the
    /// worker or, with `now`, at once. The rest and the longest wait end here.
    void copyPending(bool now);
    /// Writes every copy still pending now, on this thread, and waits until
    /// every copy already handed to the worker is written.
    void writePendingNow();
    /// Waits until the worker has written every copy handed to it.
    void waitForWrites();
    /// Ends the program at once without asking anything, after writing every
    /// pending copy (a signal, the session manager's commit request).
    [[noreturn]] void endNow(int status);
    /// The program ends normally: every copy, also those declined at
    /// start-up, is removed.
    void finishNormally();

private:
    struct TrackedMap {
        QString slot;
        bool pending = false;
        qint64 lastCopy = -1; ///< msecs since the epoch of the last copy
    };

    void track(MapWindow *window);
    void mapChanged(MapWindow *window);
    void questChanged();
    void schedule();
    void dropCopy(const QString &slot);
    void restore(const QList<recovery::Orphan> &orphans);
    void writeFailed(const QString &error);
    void turnOff(const QString &reason);

    MainWindow &m_main;
    std::function<QuestEditor &()> m_questEditor;
    QuestEditor *m_quest = nullptr; ///< the tracked editor, once made
    std::unique_ptr<recovery::Store> m_store;
    std::unique_ptr<CopyWriter> m_writer;
    QString m_openError;
    bool m_on = false;
    bool m_finished = false;
    QHash<MapWindow *, TrackedMap> m_maps;
    int m_nextSlot = 1;
    bool m_questPending = false;
    QTimer m_rest;
    QTimer m_longestWait;
    QTimer m_largeMapWait;
};
