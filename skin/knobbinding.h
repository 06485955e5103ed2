#pragma once

#include "skin/knobs.h"

#include <QObject>

#include <functional>

namespace kivo {

class Knob;

// A volume or position knob: drags move it along its track (never by hovering),
// and each new left is reported at once.
class SlideKnobBinding : public QObject
{
    Q_OBJECT
public:
    SlideKnobBinding(Knob *knob, const KnobTrack &track, std::function<void(int left)> moved);
    const KnobTrack &track() const { return m_track; }

private:
    Knob *m_knob;
    KnobTrack m_track;
    KnobDrag m_drag;
    std::function<void(int)> m_moved;
};

// A lyric offset knob `bc`: steps of 220 twips, a release adds its steps from
// neutral to the shared offset, a double click clears it, the toggle shows or
// hides it at neutral. Each window has its own, with its own anchor.
class OffsetKnobBinding : public QObject
{
    Q_OBJECT
public:
    OffsetKnobBinding(Knob *knob, const LyricOffsetKnob::Layout &layout, float *offsetTenths);
    const LyricOffsetKnob &state() const { return m_state; }
    // The knob toggle (the lyric line or its frame clicked).
    void toggle();

Q_SIGNALS:
    void visibilityChanged(bool visible);

private:
    Knob *m_knob;
    LyricOffsetKnob m_state;
    float *m_offset;
};

} // namespace kivo
