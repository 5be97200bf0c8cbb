#pragma once
#include "widgets/GifFrame.h"

#include <QColor>
#include <QImage>
#include <QList>
#include <QMutex>

// The off-screen image of an animated picture and the steps that compose frames
// into it. The animation thread composes while the window thread paints from a
// snapshot, so every access goes through one lock.
class GifComposer {
public:
    GifComposer(const QSize& size, const QColor& background, QList<GifFrame> frames = {});

    bool IsValid() const;
    int FrameCount() const { return int(m_frames.size()); }
    const GifFrame& Frame(int index) const { return m_frames[index]; }

    // Stores the colour and fills the whole image with it.
    void SetBackground(const QColor& colour);
    QColor Background() const;

    void DrawPicture(const QImage& picture);
    void DrawFrame(int index);
    void DisposeFrame(int index);
    void Rewind();

    QImage Snapshot() const;

private:
    mutable QMutex m_mutex;
    QImage m_canvas;
    QColor m_background;
    QImage m_saved; // what a restore-to-previous frame covered
    const QList<GifFrame> m_frames;
};
