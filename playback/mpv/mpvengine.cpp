#include "playback/mpv/mpvengine.h"

#include "core/logging.h"
#include "playback/mpv/mpvvideosurface.h"

#include <QMetaObject>
#include <QTimer>

#include <mpv/client.h>

#include <algorithm>
#include <clocale>

using namespace Qt::Literals::StringLiterals;

namespace kivo {

namespace {

enum ObservedProperty : uint64_t { PauseProp = 1, CacheStallProp, CacheFillProp, DurationProp };

// How long the log may trail the end of a file that failed.
constexpr int kLogGraceMs = 50;
// While playing, the position is read from the engine at most this often.
constexpr qint64 kPositionReadEveryNs = 500'000'000;
// How far a carried-on position may stay ahead of a new reading: about one step of
// the engine's position, so the position never goes back between two steps.
constexpr double kPositionLeadSeconds = 0.05;

QByteArray utf8(const QString &text)
{
    return text.toUtf8();
}

} // namespace

MpvEngine::MpvEngine(const QStringList &options, QObject *parent)
    : MediaEngine(parent)
{
    m_positionClock.start();
    // libmpv refuses to start unless numbers are formatted the C way.
    std::setlocale(LC_NUMERIC, "C");
    m_mpv = mpv_create();
    if (!m_mpv)
        return;
    const QStringList defaults {
        u"input-default-bindings=no"_s,
        u"input-vo-keyboard=no"_s,
        u"osc=no"_s,
        u"ytdl=no"_s,
        u"terminal=no"_s,
        u"idle=yes"_s,
        // End of file when the sound has really played out, not ahead of it.
        u"gapless-audio=no"_s,
        // Cover art is not video.
        u"audio-display=no"_s,
        // Without a sound device a song still plays (silently) instead of failing.
        u"audio-fallback-to-null=yes"_s,
        u"vo=null"_s,
        u"keep-open=no"_s,
    };
    for (const QString &pair : defaults + options) {
        const qsizetype eq = pair.indexOf(u'=');
        if (eq > 0)
            mpv_set_option_string(m_mpv, utf8(pair.left(eq)).constData(), utf8(pair.mid(eq + 1)).constData());
    }
    if (mpv_initialize(m_mpv) < 0) {
        mpv_terminate_destroy(m_mpv);
        m_mpv = nullptr;
        return;
    }
    mpv_request_log_messages(m_mpv, "warn");
    mpv_observe_property(m_mpv, PauseProp, "pause", MPV_FORMAT_FLAG);
    mpv_observe_property(m_mpv, CacheStallProp, "paused-for-cache", MPV_FORMAT_FLAG);
    mpv_observe_property(m_mpv, CacheFillProp, "cache-buffering-state", MPV_FORMAT_INT64);
    mpv_observe_property(m_mpv, DurationProp, "duration", MPV_FORMAT_DOUBLE);
    mpv_set_wakeup_callback(
        m_mpv,
        [](void *self) {
            // Any thread: only post a queued call; the GUI thread drains the events.
            auto *engine = static_cast<MpvEngine *>(self);
            if (!engine->m_wakeupPosted.exchange(true))
                QMetaObject::invokeMethod(
                    engine, [engine] { engine->drainEvents(); }, Qt::QueuedConnection);
        },
        this);
}

MpvEngine::~MpvEngine()
{
    if (!m_mpv)
        return;
    mpv_set_wakeup_callback(m_mpv, nullptr, nullptr);
    // The render context must go before the core, or the process aborts.
    if (m_surface)
        m_surface->releaseRenderContext();
    mpv_terminate_destroy(m_mpv);
}

void MpvEngine::drainEvents()
{
    m_wakeupPosted = false;
    while (m_mpv) {
        mpv_event *event = mpv_wait_event(m_mpv, 0);
        if (event->event_id == MPV_EVENT_NONE)
            break;
        handleEvent(*event);
    }
}

void MpvEngine::report(PlayState state)
{
    m_state = state;
    m_reading.valid = false;
    if (!m_transitionQueued)
        Q_EMIT playStateChanged(state, m_entryLoad);
}

void MpvEngine::handleEvent(const mpv_event &event)
{
    switch (event.event_id) {
    case MPV_EVENT_FILE_LOADED:
        if (m_entryId)
            m_mediaKind = detectMediaKind();
        break;
    case MPV_EVENT_PLAYBACK_RESTART:
        // Also after a seek: the position is read afresh; only a change of state is reported.
        m_reading.valid = false;
        if (m_entryId && !m_pauseRequested && !m_cacheStall && m_state != PlayState::Playing) {
            m_started = true;
            report(PlayState::Playing);
        }
        break;
    case MPV_EVENT_END_FILE: {
        const auto *end = static_cast<const mpv_event_end_file *>(event.data);
        if (!m_entryId || end->playlist_entry_id != m_entryId)
            break; // a load we stopped or replaced
        const LoadId load = m_entryLoad;
        m_entryId = 0;
        m_transitionQueued = false;
        m_started = false;
        m_cacheStall = false;
        if (end->reason == MPV_END_FILE_REASON_EOF) {
            m_state = PlayState::Stopped;
            Q_EMIT playStateChanged(PlayState::Stopped, load);
        } else if (end->reason == MPV_END_FILE_REASON_ERROR) {
            m_state = PlayState::Undefined;
            // libmpv logs the cause just after the end of the file: report once it is in.
            const QString engineError = QString::fromUtf8(mpv_error_string(end->error));
            QTimer::singleShot(
                kLogGraceMs, this, [this, load, url = m_url, engineError] { reportError(load, url, engineError); });
        }
        break;
    }
    case MPV_EVENT_PROPERTY_CHANGE:
        onPropertyChange(event);
        break;
    case MPV_EVENT_LOG_MESSAGE: {
        const auto *msg = static_cast<const mpv_event_log_message *>(event.data);
        m_lastLog = QString::fromUtf8(msg->prefix) + u": "_s + QString::fromUtf8(msg->text).trimmed();
        qCDebug(lcEngine).noquote() << "libmpv" << msg->level << m_lastLog;
        break;
    }
    default:
        break;
    }
}

void MpvEngine::onPropertyChange(const mpv_event &event)
{
    const auto *prop = static_cast<const mpv_event_property *>(event.data);
    if (!prop->data)
        return;
    switch (event.reply_userdata) {
    case PauseProp: {
        const bool paused = *static_cast<const int *>(prop->data) != 0;
        if (!m_entryId || !m_started)
            break;
        if (paused && m_state != PlayState::Paused)
            report(PlayState::Paused);
        else if (!paused && !m_cacheStall && m_state == PlayState::Paused)
            report(PlayState::Playing);
        break;
    }
    case CacheStallProp: {
        const bool stall = *static_cast<const int *>(prop->data) != 0;
        if (stall == m_cacheStall || !m_entryId)
            break;
        m_cacheStall = stall;
        if (stall) {
            Q_EMIT buffering(true, m_bufferingProgress, m_entryLoad);
            report(PlayState::Buffering);
        } else {
            Q_EMIT buffering(false, m_bufferingProgress, m_entryLoad);
            if (!m_pauseRequested) {
                m_started = true;
                report(PlayState::Playing);
            }
        }
        break;
    }
    case CacheFillProp:
        m_bufferingProgress = int(qBound(int64_t(0), *static_cast<const int64_t *>(prop->data), int64_t(100)));
        break;
    case DurationProp:
        m_duration = *static_cast<const double *>(prop->data);
        break;
    default:
        break;
    }
}

void MpvEngine::reportError(LoadId load, const QString &url, const QString &engineError)
{
    // libmpv's own error is generic ("loading failed"); the log line says why. A log
    // line is only this load's while no other load has started since.
    const QString log = load == m_load ? m_lastLog : QString();
    const QString reason = log.isEmpty() ? engineError : engineError + u"; "_s + log;
    qCWarning(lcEngine).noquote() << "could not play" << url << "-" << reason;
    Q_EMIT errorOccurred(load, reason);
}

MediaKind MpvEngine::detectMediaKind() const
{
    mpv_node tracks;
    if (mpv_get_property(m_mpv, "track-list", MPV_FORMAT_NODE, &tracks) < 0)
        return MediaKind::Unknown;
    bool video = false, audio = false;
    if (tracks.format == MPV_FORMAT_NODE_ARRAY) {
        for (int i = 0; i < tracks.u.list->num; ++i) {
            const mpv_node &track = tracks.u.list->values[i];
            if (track.format != MPV_FORMAT_NODE_MAP)
                continue;
            QString type;
            bool still = false;
            for (int k = 0; k < track.u.list->num; ++k) {
                const char *key = track.u.list->keys[k];
                const mpv_node &value = track.u.list->values[k];
                if (qstrcmp(key, "type") == 0 && value.format == MPV_FORMAT_STRING)
                    type = QString::fromUtf8(value.u.string);
                else if ((qstrcmp(key, "albumart") == 0 || qstrcmp(key, "image") == 0)
                    && value.format == MPV_FORMAT_FLAG && value.u.flag)
                    still = true;
            }
            video = video || (type == u"video"_s && !still);
            audio = audio || type == u"audio"_s;
        }
    }
    mpv_free_node_contents(&tracks);
    return video ? MediaKind::Video : audio ? MediaKind::Audio : MediaKind::Unknown;
}

void MpvEngine::setUrl(const QString &url)
{
    m_url = url;
    ++m_load;
}

void MpvEngine::play()
{
    if (!m_mpv || m_url.isEmpty())
        return;
    m_reading.valid = false;
    if (m_entryId && m_entryLoad == m_load) {
        // The same load: resume.
        m_pauseRequested = false;
        int no = 0;
        mpv_set_property(m_mpv, "pause", MPV_FORMAT_FLAG, &no);
        return;
    }
    m_pauseRequested = false;
    m_started = false;
    m_cacheStall = false;
    m_mediaKind = MediaKind::Unknown;
    m_lastLog.clear();
    m_duration = 0;
    m_bufferingProgress = 0;
    int no = 0;
    mpv_set_property(m_mpv, "pause", MPV_FORMAT_FLAG, &no);
    const QByteArray address = utf8(m_url);
    const char *args[] = {"loadfile", address.constData(), "replace", nullptr};
    mpv_node result;
    if (const int rc = mpv_command_ret(m_mpv, args, &result); rc < 0) {
        m_entryId = 0;
        const LoadId load = m_load;
        const QString engineError = QString::fromUtf8(mpv_error_string(rc));
        QMetaObject::invokeMethod(
            this, [this, load, url = m_url, engineError] { reportError(load, url, engineError); },
            Qt::QueuedConnection);
        return;
    }
    qint64 entry = 0;
    if (result.format == MPV_FORMAT_NODE_MAP) {
        for (int k = 0; k < result.u.list->num; ++k) {
            if (qstrcmp(result.u.list->keys[k], "playlist_entry_id") == 0
                && result.u.list->values[k].format == MPV_FORMAT_INT64)
                entry = result.u.list->values[k].u.int64;
        }
    }
    mpv_free_node_contents(&result);
    if (!entry) {
        int64_t id = 0;
        mpv_get_property(m_mpv, "playlist/0/id", MPV_FORMAT_INT64, &id);
        entry = id;
    }
    m_entryId = entry;
    m_entryLoad = m_load;
    m_state = PlayState::Transitioning;
    // Reported from the event loop, not from inside the caller. A thread held up
    // meanwhile may let the engine's own reports of this entry be read first: they
    // follow it then.
    const LoadId load = m_load;
    m_transitionQueued = true;
    QMetaObject::invokeMethod(
        this,
        [this, load] {
            if (m_entryLoad == load && !m_entryId)
                return; // ended or stopped before its report came through: nothing to say
            const bool current = m_entryLoad == load && m_transitionQueued;
            if (current)
                m_transitionQueued = false;
            Q_EMIT playStateChanged(PlayState::Transitioning, load);
            if (current && m_state != PlayState::Transitioning)
                Q_EMIT playStateChanged(m_state, load);
        },
        Qt::QueuedConnection);
}

void MpvEngine::pause()
{
    if (!m_mpv || !m_entryId)
        return;
    m_reading.valid = false;
    m_pauseRequested = true;
    int yes = 1;
    mpv_set_property(m_mpv, "pause", MPV_FORMAT_FLAG, &yes);
}

void MpvEngine::stop()
{
    if (!m_mpv || !m_entryId)
        return;
    // Forget the entry first: its end-file (reason stop) then reports nothing.
    m_entryId = 0;
    m_transitionQueued = false;
    m_started = false;
    m_cacheStall = false;
    m_state = PlayState::Undefined;
    const char *args[] = {"stop", nullptr};
    mpv_command(m_mpv, args);
}

double MpvEngine::position() const
{
    if (!m_mpv || !m_entryId)
        return 0;
    const qint64 now = m_positionClock.nsecsElapsed();
    const bool playing = m_state == PlayState::Playing;
    double carried = m_reading.valid ? m_reading.seconds + double(now - m_reading.atNs) / 1e9 : 0;
    if (m_duration > 0)
        carried = std::min(carried, m_duration); // not past the end while its event is on the way
    if (playing && m_reading.valid && now - m_reading.atNs < kPositionReadEveryNs)
        return carried;
    double pos = 0;
    mpv_get_property(m_mpv, "time-pos", MPV_FORMAT_DOUBLE, &pos);
    if (playing && m_reading.valid && pos < carried)
        pos = std::min(carried, pos + kPositionLeadSeconds); // the reading trails by a step
    m_reading = {playing, pos, now};
    return pos;
}

void MpvEngine::setPosition(double seconds)
{
    if (!m_mpv || !m_entryId)
        return;
    m_reading.valid = false;
    mpv_set_property(m_mpv, "time-pos", MPV_FORMAT_DOUBLE, &seconds);
}

int MpvEngine::volume() const
{
    double v = 100;
    if (m_mpv)
        mpv_get_property(m_mpv, "volume", MPV_FORMAT_DOUBLE, &v);
    return int(v + 0.5);
}

void MpvEngine::setVolume(int volume)
{
    double v = qBound(0, volume, 100);
    if (m_mpv)
        mpv_set_property(m_mpv, "volume", MPV_FORMAT_DOUBLE, &v);
}

bool MpvEngine::isMuted() const
{
    int muted = 0;
    if (m_mpv)
        mpv_get_property(m_mpv, "mute", MPV_FORMAT_FLAG, &muted);
    return muted != 0;
}

void MpvEngine::setMuted(bool muted)
{
    int flag = muted ? 1 : 0;
    if (m_mpv)
        mpv_set_property(m_mpv, "mute", MPV_FORMAT_FLAG, &flag);
}

void MpvEngine::setFullScreen(bool on)
{
    if (m_fullScreen == on)
        return;
    m_fullScreen = on;
    Q_EMIT fullScreenChanged(on);
}

QWidget *MpvEngine::createVideoSurface(QWidget *parent)
{
    if (!m_mpv || m_surface)
        return nullptr;
    m_surface = new MpvVideoSurface(m_mpv, parent);
    if (!m_surface->hasRenderContext()) {
        delete m_surface;
        return nullptr;
    }
    // Video goes to the render context from the next file on.
    mpv_set_option_string(m_mpv, "vo", "libmpv");
    return m_surface;
}

} // namespace kivo

// Looked up by name once the first window shows.
extern "C" Q_DECL_EXPORT kivo::MediaEngine *kivoCreateMediaEngine(QObject *parent, const QStringList &options)
{
    auto *engine = new kivo::MpvEngine(options, parent);
    if (!engine->isValid()) {
        delete engine;
        return nullptr;
    }
    return engine;
}
