#include "widgets/CustomToolTip.h"

#include "widgets/ResourceImage.h"

#include <QApplication>
#include <QCursor>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

namespace {

// The pointer hangs 25 px below the body; its tip is 12 px from the right edge.
const int kPointerDepth = 25;
const int kTipFromRight = 12;
const int kTipBelowBody = 15;

// What stays of the region when every pixel within the distance of its edge
// is taken away.
QRegion Eroded(const QRegion& region, int distance)
{
    return region & region.translated(distance, 0) & region.translated(-distance, 0)
        & region.translated(0, distance) & region.translated(0, -distance);
}

} // namespace

CCustomToolTip::CCustomToolTip()
{
    m_showTimer.setSingleShot(true);
    m_showTimer.setInterval(kShowDelayMs);
    connect(&m_showTimer, &QTimer::timeout, this, &CCustomToolTip::ShowBalloon);
    m_leaveTimer.setInterval(kLeaveCheckMs);
    connect(&m_leaveTimer, &QTimer::timeout, this, &CCustomToolTip::HideIfMouseLeft);
}

bool CCustomToolTip::Create(QWidget* owner, Mode mode)
{
    setParent(owner, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFont(QApplication::font());
    m_owner = owner;
    m_mode = mode;
    hide();
    return true;
}

void CCustomToolTip::SetIcon(int iconId)
{
    SetIcon(ResourceImage::Icon(iconId));
}

void CCustomToolTip::SetIcon(const QPixmap& icon)
{
    if (m_mode != Manual)
        return;
    m_icon = icon;
    update();
}

bool CCustomToolTip::ShowAtControl(const QString& text, int controlId)
{
    if (m_mode != Manual || !m_owner)
        return false;
    const QWidget* control = m_owner->findChild<QWidget*>(QStringLiteral("id%1").arg(controlId));
    if (!control)
        return false;
    const QRect area(control->mapToGlobal(QPoint(0, 0)), control->size());
    const int right = area.left() + area.width();
    const int bottom = area.top() + area.height();
    ArmShowTimer(text, QPoint(right - area.width() / 2, bottom - area.height() / 2));
    return true;
}

bool CCustomToolTip::ShowAtPoint(const QString& text, std::optional<QPoint> point)
{
    if (m_mode != Tracking)
        return false;
    ArmShowTimer(text, point.value_or(QCursor::pos()));
    return true;
}

void CCustomToolTip::RelayEvent(QObject* target, QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        const Qt::MouseButton button = static_cast<QMouseEvent*>(event)->button();
        if (button == Qt::LeftButton || button == Qt::RightButton || button == Qt::MiddleButton)
            hide();
        break;
    }
    case QEvent::NonClientAreaMouseButtonPress:
        if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
            hide();
        break;
    case QEvent::MouseMove: {
        if (m_mode != Tracking)
            break;
        const QPoint mouse = static_cast<QMouseEvent*>(event)->globalPosition().toPoint();
        if (isVisible() && mouse != m_target)
            hide();
        for (auto* window = qobject_cast<QWidget*>(target); window; window = window->parentWidget()) {
            const auto tool = m_tools.constFind(window);
            if (tool != m_tools.constEnd()) {
                m_icon = tool->icon;
                ShowAtPoint(tool->text, mouse);
                break;
            }
        }
        break;
    }
    default:
        break;
    }
}

void CCustomToolTip::AddTool(QWidget* window, const QString& text, const QPixmap& icon)
{
    if (m_mode == Tracking && window)
        m_tools.insert(window, TipToolInfo{text, icon});
}

QSize CCustomToolTip::BodySize() const
{
    const QRect text = fontMetrics().boundingRect(QRect(), Qt::AlignLeft | Qt::AlignTop, m_text);
    int width = text.width() + 24;
    int height = text.height() + 20;
    if (!m_icon.isNull()) {
        width += m_icon.width() + 5;
        height = qMax(height, m_icon.height());
    }
    return QSize(width, height);
}

QRect CCustomToolTip::TextRect() const
{
    const QRect text = fontMetrics().boundingRect(QRect(), Qt::AlignLeft | Qt::AlignTop, m_text);
    const int left = m_icon.isNull() ? 12 : 12 + m_icon.width() + 5;
    return QRect(left, 10, text.width(), text.height());
}

QRegion CCustomToolTip::Shape() const
{
    const QSize body = BodySize();
    const int w = body.width();
    const int h = body.height();
    QPainterPath rounded;
    rounded.addRoundedRect(QRectF(0, 0, w, h), 6, 5);
    const QPolygon pointer({QPoint(w - kTipFromRight, h - 10), QPoint(w - kTipFromRight, h + kTipBelowBody),
        QPoint(w - 37, h - 10)});
    return QRegion(rounded.toFillPolygon().toPolygon()) | QRegion(pointer);
}

void CCustomToolTip::ArmShowTimer(const QString& text, QPoint target)
{
    m_text = text;
    m_target = target;
    m_showTimer.start();
}

void CCustomToolTip::ShowBalloon()
{
    const QSize body = BodySize();
    resize(body.width(), body.height() + kPointerDepth);
    setMask(Shape());
    move(m_target.x() - body.width() + kTipFromRight, m_target.y() - (body.height() + kPointerDepth) + 10);
    show();
    update();
    if (m_mode == Tracking)
        m_leaveTimer.start();
}

void CCustomToolTip::HideIfMouseLeft()
{
    if (QCursor::pos() == m_target)
        return;
    hide();
    m_leaveTimer.stop();
}

void CCustomToolTip::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRegion shape = Shape();
    const QColor light = palette().color(QPalette::Midlight);
    // Filled, framed 2 px in the text colour, then 1 px in the fill colour on the very edge.
    painter.setClipRegion(shape);
    painter.fillRect(rect(), palette().color(QPalette::WindowText));
    painter.setClipRegion(Eroded(shape, 2));
    painter.fillRect(rect(), light);
    painter.setClipRegion(shape - Eroded(shape, 1));
    painter.fillRect(rect(), light);
    painter.setClipping(false);

    if (!m_icon.isNull())
        painter.drawPixmap(12, 10, m_icon);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(TextRect(), Qt::AlignLeft | Qt::AlignTop, m_text);
}
