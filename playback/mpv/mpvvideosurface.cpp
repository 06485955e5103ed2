#include "playback/mpv/mpvvideosurface.h"

#include <QMetaObject>
#include <QPainter>

#include <mpv/render.h>

namespace kivo {

MpvVideoSurface::MpvVideoSurface(mpv_handle *mpv, QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAccessibleName(QStringLiteral("视频"));
    char api[] = MPV_RENDER_API_TYPE_SW;
    mpv_render_param params[] = {{MPV_RENDER_PARAM_API_TYPE, api}, {MPV_RENDER_PARAM_INVALID, nullptr}};
    if (mpv_render_context_create(&m_render, mpv, params) < 0) {
        m_render = nullptr;
        return;
    }
    mpv_render_context_set_update_callback(
        m_render,
        [](void *self) {
            // Render thread: ask the GUI thread for a repaint.
            auto *surface = static_cast<MpvVideoSurface *>(self);
            QMetaObject::invokeMethod(
                surface, [surface] { surface->update(); }, Qt::QueuedConnection);
        },
        this);
}

MpvVideoSurface::~MpvVideoSurface()
{
    releaseRenderContext();
}

void MpvVideoSurface::releaseRenderContext()
{
    if (!m_render)
        return;
    mpv_render_context_set_update_callback(m_render, nullptr, nullptr);
    mpv_render_context_free(m_render);
    m_render = nullptr;
}

void MpvVideoSurface::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (!m_render || width() <= 0 || height() <= 0) {
        painter.fillRect(rect(), Qt::black);
        return;
    }
    if (m_frame.size() != size())
        m_frame = QImage(size(), QImage::Format_RGBX8888);
    int frameSize[2] = {m_frame.width(), m_frame.height()};
    char format[] = "rgb0";
    size_t stride = size_t(m_frame.bytesPerLine());
    mpv_render_param params[] = {
        {MPV_RENDER_PARAM_SW_SIZE, frameSize},
        {MPV_RENDER_PARAM_SW_FORMAT, format},
        {MPV_RENDER_PARAM_SW_STRIDE, &stride},
        {MPV_RENDER_PARAM_SW_POINTER, m_frame.bits()},
        {MPV_RENDER_PARAM_INVALID, nullptr},
    };
    if (mpv_render_context_render(m_render, params) < 0)
        painter.fillRect(rect(), Qt::black);
    else
        painter.drawImage(0, 0, m_frame);
}

} // namespace kivo
