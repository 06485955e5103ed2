#pragma once

#include "skin/twips.h"

#include <optional>

namespace kivo {

// The slide range of a horizontal knob's left edge, both ends included.
struct KnobTrack
{
    int minLeft;
    int maxLeft;
    int span() const { return maxLeft - minLeft; }
    bool contains(int left) const { return left >= minLeft && left <= maxLeft; }
};

namespace KnobTracks {
constexpr KnobTrack mainVolume {4580, 5120}; // main button 9
constexpr KnobTrack mainPosition {5480, 8750}; // main button 10
constexpr KnobTrack miniVolume {2640, 3180}; // mini button 5
constexpr KnobTrack miniPosition {3480, 6320}; // mini button 6
} // namespace KnobTracks

// Volume 0..100 for a volume knob at `left`.
int volumeForKnob(const KnobTrack &track, int left);
// Where a position knob at `left` seeks to.
double positionForKnob(const KnobTrack &track, int left, double durationSeconds);
// Where a volume knob stands for a volume.
int knobForVolume(const KnobTrack &track, int volume);

// The drag of one knob: the anchor is the mouse x (in the knob's own coordinates)
// at the press, and none while the knob is not held, so hovering never moves it.
class KnobDrag
{
public:
    void press(int x) { m_anchor = x; }
    void release() { m_anchor.reset(); }
    bool isHeld() const { return m_anchor.has_value(); }
    std::optional<int> anchor() const { return m_anchor; }
    // The knob's new left for a move to `x` while held, kept on the track; nothing when
    // it does not move.
    std::optional<int> move(int left, int x, const KnobTrack &track) const;

private:
    std::optional<int> m_anchor;
};

// The lyric offset knob `bc` of one window: moves in steps of 220 twips; a release
// adds its distance from the neutral position (in steps) to the offset.
class LyricOffsetKnob
{
public:
    static constexpr int kStep = 220;
    struct Layout
    {
        int neutral;
        KnobTrack track;
    };
    static constexpr Layout kMain {1180, {30, 2335}};
    static constexpr Layout kMini {998, {75, 1895}};

    explicit LyricOffsetKnob(const Layout &layout)
        : m_layout(layout)
        , m_left(layout.neutral)
    { }

    int left() const { return m_left; }
    bool isVisible() const { return m_visible; }

    void press(int x) { m_drag.press(x); }
    // True when the knob moved one step.
    bool move(int x);
    // Adds this knob's steps from neutral to the shared offset (tenths of a second).
    void release(float &offsetTenths);
    // Double click on the visible knob: back to neutral, offset cleared.
    void doubleClick(float &offsetTenths);
    // Shows the knob at neutral, or hides it; the offset stays as it is.
    void toggle();

private:
    Layout m_layout;
    int m_left;
    bool m_visible = false;
    KnobDrag m_drag;
};

} // namespace kivo
