#pragma once
// Helpers for tests that look at what a control paints.
#include <QColor>
#include <QDir>
#include <QImage>
#include <QWidget>

namespace WidgetImages {

inline QImage render(QWidget& widget)
{
    return widget.grab().toImage().convertToFormat(QImage::Format_ARGB32);
}

inline bool near(QColor actual, QColor expected, int tolerance = 8)
{
    return qAbs(actual.red() - expected.red()) <= tolerance && qAbs(actual.green() - expected.green()) <= tolerance
        && qAbs(actual.blue() - expected.blue()) <= tolerance;
}

inline QString describe(QColor colour)
{
    return QStringLiteral("rgb(%1, %2, %3)").arg(colour.red()).arg(colour.green()).arg(colour.blue());
}

// Kept in the build folder so a person can look at what the tests saw.
inline void saveArtefact(const QImage& image, const QString& name)
{
    const QString folder = QStringLiteral(ZARV_TEST_BIN_DIR "widget-images");
    QDir().mkpath(folder);
    image.save(folder + u'/' + name + QStringLiteral(".png"));
}

inline QPixmap filledPixmap(QSize size, QColor colour)
{
    QPixmap pixmap(size);
    pixmap.fill(colour);
    return pixmap;
}

} // namespace WidgetImages
