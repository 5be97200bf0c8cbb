#include "widgets/GifComposer.h"

#include <QMutexLocker>
#include <QPainter>

GifComposer::GifComposer(const QSize& size, const QColor& background, QList<GifFrame> frames)
    : m_canvas(size, QImage::Format_RGB32)
    , m_background(background)
    , m_frames(std::move(frames))
{
    if (!m_canvas.isNull())
        m_canvas.fill(m_background);
}

bool GifComposer::IsValid() const
{
    return !m_canvas.isNull();
}

void GifComposer::SetBackground(const QColor& colour)
{
    QMutexLocker locker(&m_mutex);
    m_background = colour;
    m_canvas.fill(colour);
}

QColor GifComposer::Background() const
{
    QMutexLocker locker(&m_mutex);
    return m_background;
}

void GifComposer::DrawPicture(const QImage& picture)
{
    QMutexLocker locker(&m_mutex);
    QPainter painter(&m_canvas);
    painter.drawImage(m_canvas.rect(), picture);
}

void GifComposer::DrawFrame(int index)
{
    const GifFrame& frame = m_frames[index];
    QMutexLocker locker(&m_mutex);
    if (frame.disposal == GifFrame::RestorePrevious)
        m_saved = m_canvas.copy(frame.rect);
    QPainter painter(&m_canvas);
    painter.drawImage(frame.rect, frame.picture);
}

void GifComposer::DisposeFrame(int index)
{
    const GifFrame& frame = m_frames[index];
    QMutexLocker locker(&m_mutex);
    if (frame.disposal == GifFrame::RestoreBackground) {
        QPainter painter(&m_canvas);
        painter.fillRect(frame.rect, m_background);
    } else if (frame.disposal == GifFrame::RestorePrevious) {
        QPainter painter(&m_canvas);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(frame.rect.topLeft(), m_saved);
    }
}

void GifComposer::Rewind()
{
    QMutexLocker locker(&m_mutex);
    m_canvas.fill(m_background);
}

QImage GifComposer::Snapshot() const
{
    QMutexLocker locker(&m_mutex);
    return m_canvas; // shared; the next composition step detaches its own copy
}
