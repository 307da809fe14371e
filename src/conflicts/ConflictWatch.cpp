#include "ConflictWatch.h"

#include "model/Document.h"

#include <QFuture>
#include <QThread>
#include <QTimer>
#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>
#include <cstring>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace {

// FNV-1a over plain values of up to eight bytes, a value at a time.
class Fingerprint
{
public:
    template <typename T> Fingerprint &add(const T &value)
    {
        static_assert(sizeof(T) <= sizeof(uint64_t));
        uint64_t word = 0;
        std::memcpy(&word, &value, sizeof(T));
        m_hash ^= word;
        m_hash *= 1099511628211ULL;
        m_hash ^= m_hash >> 29;
        return *this;
    }
    uint64_t value() const { return m_hash; }

private:
    uint64_t m_hash = 14695981039346656037ULL;
};

uint64_t trainFingerprint(const Train &train)
{
    Fingerprint f;
    f.add(train.podlePotreby).add(train.rowCount());
    for (int k = 0; k < train.rowCount(); ++k) {
        const TrainRow row = train.row(k);
        f.add(row.station).add(row.time);
    }
    return f.value();
}

// What the check reads, into an empty document: the stations with their
// own kind records, the line's tracks, the trains.
void copyChecked(const Document &from, Document &to)
{
    to.stations = from.stations;
    for (Station &s : to.stations)
        if (s.kind)
            s.kind = &to.appendKind(*s.kind);
    to.lineTracks = from.lineTracks;
    to.trains = from.trains;
}

} // namespace

struct ConflictWatch::Job
{
    Document copy;
    ConflictCheck check{copy};
    uint64_t line = 0;
    std::vector<uint64_t> trains;
    QFuture<void> done;
};

ConflictWatch::ConflictWatch(const Document &doc) : m_doc(doc), m_check(doc)
{
    m_worker.setMaxThreadCount(1);
    // The worker's own thread takes part in the check.
    m_checkPool.setMaxThreadCount(std::max(1, QThread::idealThreadCount() - 2));
}

ConflictWatch::~ConflictWatch() = default;

void ConflictWatch::setBeside(std::function<void()> checked)
{
    m_beside = true;
    m_onChecked = std::move(checked);
}

void ConflictWatch::startJob(uint64_t line, std::vector<uint64_t> trains)
{
    auto job = std::make_shared<Job>();
    copyChecked(m_doc, job->copy);
    job->check.setPool(QThread::idealThreadCount() > 2 ? &m_checkPool : nullptr);
    job->line = line;
    job->trains = std::move(trains);
    m_inFlight = job;
    ++m_fullChecks;
    // Started from the event loop: the picture being made now, which asked
    // for the check, has the cores to itself until it is done.
    QTimer::singleShot(0, &m_context, [this, weak = std::weak_ptr<Job>(job)] {
        const std::shared_ptr<Job> latest = weak.lock();
        if (latest && latest == m_inFlight)
            launch(latest);
    });
}

void ConflictWatch::launch(const std::shared_ptr<Job> &job)
{
    if (job->done.isValid())
        return;
    // The worker holds the job while it runs; the watch, while it is the
    // latest.
    job->done = QtConcurrent::run(&m_worker, [job] {
        job->check.recompute();
        job->check.conflicts();
        // Every edit of a line with more conflicts than the list keeps is
        // checked whole here: its index would only take room.
        if (job->check.rest() > 0)
            job->check.releaseIndex();
    });
    // Taken from the event loop, also when the worker ended before this.
    job->done.then(&m_context, [this, weak = std::weak_ptr<Job>(job)] {
        QTimer::singleShot(0, &m_context, [this, weak] {
            std::shared_ptr<Job> ended = weak.lock();
            if (!ended || ended != m_inFlight)
                return;
            take(ended);
            // The worker built the index in its own heap and the copy it
            // read is gone: what they left free goes back to the system,
            // which the allocator would keep for a thread that may not
            // allocate again.
            ended.reset();
#if defined(__GLIBC__)
            malloc_trim(0);
#endif
            if (m_onChecked)
                m_onChecked();
        });
    });
}

void ConflictWatch::take(const std::shared_ptr<Job> &job)
{
    m_check = std::move(job->check);
    m_check.rebind(m_doc);
    m_check.setPool(QThreadPool::globalInstance());
    m_checked = true;
    m_line = job->line;
    m_trains = std::move(job->trains);
    m_inFlight.reset();
}

void ConflictWatch::wait()
{
    if (!m_inFlight)
        return;
    launch(m_inFlight);
    m_inFlight->done.waitForFinished();
    take(m_inFlight);
}

uint64_t ConflictWatch::lineFingerprint() const
{
    Fingerprint f;
    f.add(m_doc.lineTracks.mainTracks).add(m_doc.lineTracks.minHeadway).add(m_doc.stations.size());
    for (const Station &s : m_doc.stations) {
        f.add(s.metres).add(s.sectionTracks).add(s.stationTracks).add(s.sectionHeadway);
        const StationKind none;
        const StationKind &k = s.kind ? *s.kind : none;
        f.add(k.dopravna).add(k.hradlo).add(k.hlaska).add(k.odbocka).add(k.nakladiste).add(k.zastavka).add(k.kilometr);
    }
    return f.value();
}

bool ConflictWatch::refresh()
{
    const uint64_t line = lineFingerprint();
    std::vector<uint64_t> trains;
    trains.reserve(m_doc.trains.size());
    for (const Train &t : m_doc.trains)
        trains.push_back(trainFingerprint(t));

    if (m_inFlight) {
        if (line == m_inFlight->line && trains == m_inFlight->trains)
            return false;
        startJob(line, std::move(trains));
        return true;
    }
    std::vector<size_t> changed;
    const bool sameLine = m_checked && line == m_line && trains.size() >= m_trains.size();
    if (sameLine) {
        for (size_t i = 0; i < m_trains.size(); ++i) {
            if (trains[i] != m_trains[i])
                changed.push_back(i);
        }
    }
    const bool appended = sameLine && trains.size() > m_trains.size();
    bool any = true;
    if (sameLine && changed.empty() && !appended) {
        any = false;
    } else if (sameLine && changed.size() + (appended ? 1 : 0) <= 1 && !(m_beside && m_check.rest() > 0)) {
        // recheckTrain traces every train beyond those it knows as well.
        m_check.recheckTrain(static_cast<int32_t>(changed.empty() ? m_trains.size() : changed.front()));
        ++m_trainChecks;
    } else if (m_beside) {
        // What was checked before stands while the worker runs, unless the
        // line is another. A train of a line with more conflicts than the
        // list keeps is checked here too: its recheck goes through the
        // sections' every passage again, which on such a line takes longer
        // than the redraw it would hold up.
        if (!m_checked || line != m_line)
            m_check = ConflictCheck(m_doc);
        startJob(line, std::move(trains));
        return true;
    } else {
        m_check.recompute();
        ++m_fullChecks;
    }
    m_checked = true;
    m_line = line;
    m_trains = std::move(trains);
    return any;
}
