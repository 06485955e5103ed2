#pragma once

#include <QImage>
#include <QWidget>

struct mpv_handle;
struct mpv_render_context;

namespace kivo {

// Draws libmpv's video frames with its software renderer, which works with and
// without OpenGL (also on the offscreen platform).
class MpvVideoSurface : public QWidget
{
    Q_OBJECT
public:
    MpvVideoSurface(mpv_handle *mpv, QWidget *parent);
    ~MpvVideoSurface() override;

    bool hasRenderContext() const { return m_render != nullptr; }
    // Frees the render context; the engine calls it before it destroys the core.
    void releaseRenderContext();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    mpv_render_context *m_render = nullptr;
    QImage m_frame;
};

} // namespace kivo
