#pragma once
// A paint device that keeps the texts painted on it, so a test can read what a
// control wrote, ellipsis included, without reading glyphs from pixels.
#include <QPaintDevice>
#include <QPaintEngine>
#include <QStringList>
#include <QTextItem>

class TextRecorder : public QPaintDevice {
public:
    explicit TextRecorder(QSize size)
        : m_size(size)
    {
    }
    ~TextRecorder() override = default;

    QStringList texts() const { return m_engine.texts; }
    QPaintEngine* paintEngine() const override { return &m_engine; }

protected:
    int metric(PaintDeviceMetric metric) const override
    {
        switch (metric) {
        case PdmWidth: return m_size.width();
        case PdmHeight: return m_size.height();
        case PdmDpiX: case PdmDpiY: case PdmPhysicalDpiX: case PdmPhysicalDpiY: return 96;
        case PdmDepth: return 32;
        case PdmDevicePixelRatio: return 1;
        case PdmDevicePixelRatioScaled: return int(devicePixelRatioFScale());
        default: return QPaintDevice::metric(metric);
        }
    }

private:
    class Engine : public QPaintEngine {
    public:
        QStringList texts;
        bool begin(QPaintDevice*) override { return true; }
        bool end() override { return true; }
        void updateState(const QPaintEngineState&) override {}
        void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
        void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
        void drawTextItem(const QPointF&, const QTextItem& item) override { texts.append(item.text()); }
        Type type() const override { return User; }
    };

    QSize m_size;
    mutable Engine m_engine;
};
