#include "support/fakemediaengine.h"

using namespace Qt::Literals::StringLiterals;

namespace kivo {

void FakeMediaEngine::setUrl(const QString &url)
{
    m_url = url;
    ++m_load;
    urls << url;
    calls << u"url "_s + url;
}

void FakeMediaEngine::play()
{
    calls << u"play"_s;
}

void FakeMediaEngine::pause()
{
    calls << u"pause"_s;
}

void FakeMediaEngine::stop()
{
    calls << u"stop"_s;
}

void FakeMediaEngine::setMuted(bool muted)
{
    m_muted = muted;
    calls << (muted ? u"mute 1"_s : u"mute 0"_s);
}

void FakeMediaEngine::setFullScreen(bool on)
{
    if (m_fullScreen == on)
        return;
    m_fullScreen = on;
    calls << (on ? u"fullscreen 1"_s : u"fullscreen 0"_s);
    Q_EMIT fullScreenChanged(on);
}

void FakeMediaEngine::reportStateOf(LoadId load, PlayState state)
{
    if (load == m_load)
        m_state = state;
    Q_EMIT playStateChanged(state, load);
}

void FakeMediaEngine::reportBuffering(bool start, int percent)
{
    m_progress = percent;
    Q_EMIT buffering(start, percent, m_load);
}

} // namespace kivo
