#include "skin/knobbinding.h"

#include "skin/knob.h"

namespace kivo {

SlideKnobBinding::SlideKnobBinding(Knob *knob, const KnobTrack &track, std::function<void(int left)> moved)
    : QObject(knob)
    , m_knob(knob)
    , m_track(track)
    , m_moved(std::move(moved))
{
    connect(knob, &Knob::pressed, this, [this](int x) { m_drag.press(x); });
    connect(knob, &Knob::released, this, [this] { m_drag.release(); });
    connect(knob, &Knob::moved, this, [this](int x) {
        const std::optional<int> left = m_drag.move(m_knob->leftTwips(), x, m_track);
        if (!left)
            return;
        m_knob->setLeftTwips(*left);
        if (m_moved)
            m_moved(*left);
    });
}

OffsetKnobBinding::OffsetKnobBinding(Knob *knob, const LyricOffsetKnob::Layout &layout, float *offsetTenths)
    : QObject(knob)
    , m_knob(knob)
    , m_state(layout)
    , m_offset(offsetTenths)
{
    knob->setLeftTwips(m_state.left());
    knob->setVisible(m_state.isVisible());
    connect(knob, &Knob::pressed, this, [this](int x) { m_state.press(x); });
    connect(knob, &Knob::moved, this, [this](int x) {
        if (m_state.move(x))
            m_knob->setLeftTwips(m_state.left());
    });
    connect(knob, &Knob::released, this, [this] {
        if (m_offset)
            m_state.release(*m_offset);
    });
    connect(knob, &Knob::doubleClicked, this, [this] {
        if (!m_offset)
            return;
        m_state.doubleClick(*m_offset);
        m_knob->setLeftTwips(m_state.left());
    });
}

void OffsetKnobBinding::toggle()
{
    m_state.toggle();
    m_knob->setLeftTwips(m_state.left());
    m_knob->setVisible(m_state.isVisible());
    Q_EMIT visibilityChanged(m_state.isVisible());
}

} // namespace kivo
