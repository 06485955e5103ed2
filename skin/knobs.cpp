#include "skin/knobs.h"

#include <algorithm>
#include <cmath>

namespace kivo {

int volumeForKnob(const KnobTrack &track, int left)
{
    const double volume = double(left - track.minLeft) / double(track.span()) * 100.0;
    return std::clamp(static_cast<int>(std::lrint(volume)), 0, 100);
}

double positionForKnob(const KnobTrack &track, int left, double durationSeconds)
{
    if (!(durationSeconds > 0))
        return 0;
    return std::clamp(double(left - track.minLeft) / double(track.span()), 0.0, 1.0) * durationSeconds;
}

int knobForVolume(const KnobTrack &track, int volume)
{
    return track.minLeft + static_cast<int>(std::lrint(track.span() * std::clamp(volume, 0, 100) / 100.0));
}

std::optional<int> KnobDrag::move(int left, int x, const KnobTrack &track) const
{
    if (!m_anchor)
        return std::nullopt;
    // A fast drag past an end lands on that end, not on the last step inside.
    const int next = std::clamp(left + x - *m_anchor, track.minLeft, track.maxLeft);
    if (next == left)
        return std::nullopt;
    return next;
}

bool LyricOffsetKnob::move(int x)
{
    const std::optional<int> anchor = m_drag.anchor();
    if (!anchor)
        return false;
    const int next = m_left + x - *anchor;
    if (!m_layout.track.contains(next))
        return false;
    const int d = x - *anchor;
    if (d <= -kStep)
        m_left -= kStep;
    else if (d >= kStep)
        m_left += kStep;
    else
        return false;
    return true;
}

void LyricOffsetKnob::release(float &offsetTenths)
{
    if (!m_drag.isHeld())
        return;
    m_drag.release();
    offsetTenths += float(m_left - m_layout.neutral) / float(kStep);
}

void LyricOffsetKnob::doubleClick(float &offsetTenths)
{
    if (!m_visible)
        return;
    m_left = m_layout.neutral;
    offsetTenths = 0;
}

void LyricOffsetKnob::toggle()
{
    m_visible = !m_visible;
    if (m_visible)
        m_left = m_layout.neutral;
}

} // namespace kivo
