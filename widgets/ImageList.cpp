#include "widgets/ImageList.h"

#include "widgets/ResourceImage.h"

#include <QImage>
#include <QPainter>

CImageList::CImageList(int width, int height)
    : m_size(width, height)
{
}

int CImageList::Add(const QPixmap& picture)
{
    if (picture.isNull())
        return -1;
    QImage image(m_size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.drawPixmap(0, 0, picture);
    painter.end();
    m_images.append(QPixmap::fromImage(image));
    return int(m_images.size()) - 1;
}

int CImageList::AddBitmap(int bitmapId)
{
    return Add(ResourceImage::Bitmap(bitmapId));
}

QPixmap CImageList::GetImage(int index) const
{
    return index >= 0 && index < m_images.size() ? m_images[index] : QPixmap();
}

void CImageList::Draw(QPainter& painter, int index, QPoint topLeft) const
{
    if (index >= 0 && index < m_images.size())
        painter.drawPixmap(topLeft, m_images[index]);
}
