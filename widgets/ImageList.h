#pragma once
#include <QList>
#include <QPixmap>
#include <QSize>

class QPainter;

// Images of one size, addressed by their position, as the controls share them.
// Every image added is cut or padded (transparently) to the list's size.
class CImageList {
public:
    CImageList(int width, int height);

    // Position of the new image, or -1 for an empty picture.
    int Add(const QPixmap& picture);
    int AddBitmap(int bitmapId);

    int GetImageCount() const { return int(m_images.size()); }
    QSize GetImageSize() const { return m_size; }
    bool IsEmpty() const { return m_images.isEmpty(); }
    QPixmap GetImage(int index) const;

    // Draws the image at its natural size with its top-left corner at the point.
    void Draw(QPainter& painter, int index, QPoint topLeft) const;

private:
    QSize m_size;
    QList<QPixmap> m_images;
};
