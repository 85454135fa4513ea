#include "recoverysession.h"

#include "bmpcodec.h"
#include "dialogs.h"
#include "errors.h"
#include "mainwindow.h"
#include "mapwindow.h"
#include "questcopy.h"
#include "questeditor.h"
#include "questfields.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDateTime>

#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <unistd.h>

namespace {
const QString kQuestSlot = QStringLiteral("quest");
}

/// One worker thread that runs the copy jobs one after another, in the order
/// they were posted (so that a copy's removal never overtakes its writing).
class CopyWriter {
public:
    CopyWriter() : m_thread([this] { run(); }) {}
    ~CopyWriter()
    {
        {
            std::lock_guard<std::mutex> guard(m_mutex);
            m_stop = true;
        }
        m_wake.notify_all();
        m_thread.join();
    }

    void post(std::function<void()> job)
    {
        {
            std::lock_guard<std::mutex> guard(m_mutex);
            m_jobs.push_back(std::move(job));
        }
        m_wake.notify_all();
    }

    /// Waits until every posted job has run.
    void drain()
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_idle.wait(lock, [this] { return m_jobs.empty() && !m_busy; });
    }

    std::atomic<bool> failed{false};

private:
    void run()
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        for (;;) {
            m_wake.wait(lock, [this] { return m_stop || !m_jobs.empty(); });
            if (m_jobs.empty())
                return;
            std::function<void()> job = std::move(m_jobs.front());
            m_jobs.pop_front();
            m_busy = true;
            lock.unlock();
            job();
            job = nullptr; // lets go of the picture before saying it is done
            lock.lock();
            m_busy = false;
            m_idle.notify_all();
        }
    }

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_idle;
    std::deque<std::function<void()>> m_jobs;
    bool m_busy = false;
    bool m_stop = false;
    std::thread m_thread; // last: starts once the rest is made
};

RecoverySession::RecoverySession(MainWindow &mainWindow, std::function<QuestEditor &()> questEditor,
                                 std::unique_ptr<recovery::Store> store)
    : m_main(mainWindow), m_questEditor(std::move(questEditor)), m_store(std::move(store)),
      m_writer(std::make_unique<CopyWriter>())
{
    m_on = m_store->open(&m_openError);
    for (QTimer *timer : {&m_rest, &m_longestWait, &m_largeMapWait}) {
        timer->setSingleShot(true);
        connect(timer, &QTimer::timeout, this, [this] { copyPending(false); });
    }

    connect(&m_main, &MainWindow::mapWindowAdded, this, &RecoverySession::track);
    const QList<MapWindow *> open = m_main.mapWindows();
    for (MapWindow *window : open)
        track(window);

    connect(qApp, &QCoreApplication::aboutToQuit, this, &RecoverySession::finishNormally);
}

void RecoverySession::trackQuest(QuestEditor &questEditor)
{
    if (m_quest)
        return;
    m_quest = &questEditor;
    connect(m_quest, &QuestEditor::textEdited, this, &RecoverySession::questChanged);
    connect(m_quest, &QuestEditor::textSettled, this, [this] {
        m_questPending = false;
        dropCopy(kQuestSlot);
    });
    // The flags, font and size do not make the quest modified, but belong to
    // the copy of a modified one.
    auto sideChange = [this] {
        if (m_quest->questModified())
            questChanged();
    };
    for (int n = 0; n < QuestDocument::NoteCount; ++n)
        connect(m_quest->activeBox(n), &QCheckBox::toggled, this, sideChange);
    connect(m_quest->fontField(), &QComboBox::currentTextChanged, this, sideChange);
    connect(m_quest->sizeField(), &QSpinBox::valueChanged, this, sideChange);
}

RecoverySession::~RecoverySession() = default;

void RecoverySession::start()
{
    if (!m_on) {
        turnOff(m_openError);
        return;
    }
    offerRestore();
}

void RecoverySession::offerRestore()
{
    QStringList damaged;
    const QList<recovery::Orphan> orphans = m_store->adoptOrphans(&damaged);
    if (!damaged.isEmpty())
        dialogs().error(&m_main, recovery::damagedText(damaged));
    if (!orphans.isEmpty() && dialogs().offerRestore(&m_main, recovery::offerText(orphans)))
        restore(orphans);
}

void RecoverySession::restore(const QList<recovery::Orphan> &orphans)
{
    QStringList damaged;
    for (const recovery::Orphan &orphan : orphans) {
        const recovery::Copy &copy = orphan.copy;
        try {
            if (copy.kind == recovery::Copy::Map) {
                QImage picture = raster::readBmpData(copy.picture);
                if (picture.isNull())
                    throw DkError(errors::invalidBitmap());
                mapfile::Format format;
                format.bmp.bitsPerPixel = copy.bitsPerPixel;
                MapWindow *window =
                    m_main.openDocument(MapDocument(std::move(picture), format), copy.path);
                window->document().setModified(true);
                mapChanged(window);
            } else {
                QuestDocument document;
                if (!questcopy::decode(copy.fields, document))
                    throw DkError(errors::invalidBitmap());
                const QImage picture =
                    copy.picture.isEmpty() ? QImage() : raster::readBmpData(copy.picture);
                m_questEditor().restoreQuest(document, picture);
                questChanged();
            }
        } catch (const DkError &) {
            damaged << orphan.file;
        }
    }
    if (!damaged.isEmpty())
        dialogs().error(&m_main, recovery::damagedText(damaged));
    // The restored work is copied as this instance's at once; the old copies
    // go only once that has worked, and unreadable ones stay for the next
    // normal end.
    copyPending(false);
    if (damaged.isEmpty())
        m_writer->post([this] {
            if (!m_writer->failed)
                m_store->removeAdopted(false);
        });
}

void RecoverySession::track(MapWindow *window)
{
    m_maps.insert(window, TrackedMap{QStringLiteral("map-%1").arg(m_nextSlot++)});
    connect(window, &MapWindow::changed, this, [this, window] { mapChanged(window); });
    connect(window, &MapWindow::saved, this, [this, window] {
        TrackedMap &map = m_maps[window];
        map.pending = false;
        dropCopy(map.slot);
    });
    // Closed, after saving or after "&No": the work is safe or given up.
    connect(window, &QObject::destroyed, this, [this, window] {
        const auto found = m_maps.constFind(window);
        if (found == m_maps.constEnd())
            return;
        if (!m_finished)
            dropCopy(found->slot);
        m_maps.erase(found);
    });
}

void RecoverySession::mapChanged(MapWindow *window)
{
    if (!m_on || !m_maps.contains(window))
        return;
    m_maps[window].pending = true;
    schedule();
}

void RecoverySession::questChanged()
{
    if (!m_on)
        return;
    m_questPending = true;
    schedule();
}

void RecoverySession::schedule()
{
    m_rest.start(kRestMs);
    if (!m_longestWait.isActive())
        m_longestWait.start(kLongestWaitMs);
}

void RecoverySession::copyPending(bool now)
{
    if (!m_on)
        return;
    m_rest.stop();
    m_longestWait.stop();
    const QDateTime time = QDateTime::currentDateTimeUtc();
    const qint64 msecs = time.toMSecsSinceEpoch();

    auto submit = [this, now](const QString &slot, recovery::Copy copy, QImage picture,
                              std::shared_ptr<PictureSnapshot> snapshot, raster::BmpFormat format) {
        auto job = [this, slot, copy, picture, snapshot, format]() mutable {
            QString error;
            try {
                if (snapshot) {
                    picture = snapshot->take();
                    snapshot.reset();
                    // Given up while it was read: the change that made it
                    // go is copied in its turn.
                    if (picture.isNull())
                        return;
                }
                if (!picture.isNull())
                    copy.picture = raster::encodeBmp(picture, format);
                picture = QImage();
                if (m_store->write(slot, copy, &error))
                    return;
            } catch (const DkError &e) {
                error = e.text();
            }
            m_writer->failed = true;
            QMetaObject::invokeMethod(
                this, [this, error] { writeFailed(error); }, Qt::QueuedConnection);
        };
        if (now)
            job();
        else
            m_writer->post(std::move(job));
    };

    qint64 largeMapDue = -1;
    for (auto it = m_maps.begin(); it != m_maps.end(); ++it) {
        MapWindow *window = it.key();
        TrackedMap &map = it.value();
        if (!map.pending)
            continue;
        MapDocument &document = window->document();
        if (!document.isModified()) {
            map.pending = false;
            dropCopy(map.slot);
            continue;
        }
        // A large map's copy costs a second of a core: at most once a minute.
        if (!now && document.picture().sizeInBytes() > kLargeMapBytes && map.lastCopy >= 0 &&
            msecs - map.lastCopy < kLargeMapIntervalMs) {
            const qint64 due = map.lastCopy + kLargeMapIntervalMs - msecs;
            largeMapDue = largeMapDue < 0 ? due : std::min(largeMapDue, due);
            continue;
        }
        map.pending = false;
        map.lastCopy = msecs;
        recovery::Copy copy;
        copy.kind = recovery::Copy::Map;
        copy.caption = window->caption();
        copy.path = window->isNew() ? QString() : window->caption();
        copy.bitsPerPixel = document.fileFormat().bmp.bitsPerPixel;
        copy.time = time;
        // Read on the worker while the user draws on: not copied here.
        submit(map.slot, copy, QImage(), document.snapshot(), document.fileFormat().bmp);
    }
    if (largeMapDue >= 0)
        m_largeMapWait.start(int(largeMapDue));

    if (m_questPending && m_quest) {
        m_questPending = false;
        if (m_quest->questModified()) {
            const QuestDocument document = m_quest->document();
            recovery::Copy copy;
            copy.kind = recovery::Copy::Quest;
            copy.caption = document.title;
            copy.time = time;
            copy.fields = questcopy::encode(document);
            submit(kQuestSlot, copy, m_quest->mapPicture(), nullptr, raster::BmpFormat());
        } else {
            dropCopy(kQuestSlot);
        }
    }
}

void RecoverySession::dropCopy(const QString &slot)
{
    m_writer->post([this, slot] { m_store->remove(slot); });
}

void RecoverySession::writePendingNow()
{
    m_writer->drain();
    copyPending(true);
    m_writer->drain();
}

void RecoverySession::waitForWrites()
{
    m_writer->drain();
}

void RecoverySession::endNow(int status)
{
    writePendingNow();
    std::fflush(stdout);
    std::fflush(stderr);
    // Nothing else needs tearing down: every copy is on the disk, and the
    // user's own files are never open here.
    ::_exit(status);
}

void RecoverySession::finishNormally()
{
    if (m_finished)
        return;
    m_finished = true;
    m_on = false;
    for (QTimer *timer : {&m_rest, &m_longestWait, &m_largeMapWait})
        timer->stop();
    m_writer->drain();
    m_store->removeOwn();
    m_store->removeAdopted(true);
}

void RecoverySession::writeFailed(const QString &error)
{
    if (m_on)
        turnOff(error);
}

void RecoverySession::turnOff(const QString &reason)
{
    m_on = false;
    for (QTimer *timer : {&m_rest, &m_longestWait, &m_largeMapWait})
        timer->stop();
    dialogs().error(&m_main, recovery::offText(reason));
}
