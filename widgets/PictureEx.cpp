#include "widgets/PictureEx.h"

#include "widgets/GifAnimation.h"
#include "widgets/GifComposer.h"
#include "widgets/GifParser.h"
#include "widgets/ResourceImage.h"
#include "widgets/SystemColors.h"

#include <QFile>
#include <QImageReader>
#include <QPainter>

namespace {

// The off-screen image is held to the size the toolkit's own readers accept.
bool isReasonableSize(const QSize& size)
{
    const qint64 limitBytes = qint64(QImageReader::allocationLimit()) * 1024 * 1024;
    return !size.isEmpty() && (limitBytes == 0 || qint64(size.width()) * size.height() * 4 <= limitBytes);
}

} // namespace

CPictureEx::CPictureEx(QWidget* parent)
    : QWidget(parent)
    , m_background(SystemColors::ButtonFace(palette()))
{
}

CPictureEx::~CPictureEx()
{
    Stop();
}

bool CPictureEx::Load(const QString& resourceName, const QString& resourceType)
{
    QFile file(ResourceImage::Locate(QStringLiteral("%1/%2.%1").arg(resourceType, resourceName)));
    return file.open(QIODevice::ReadOnly) && Load(file.readAll());
}

bool CPictureEx::Load(const QByteArray& data)
{
    Unload();
    if (data.startsWith("GIF"))
        return LoadGif(data);
    m_still = QImage::fromData(data);
    return !m_still.isNull() && Prepare(m_still.size(), {});
}

bool CPictureEx::LoadGif(const QByteArray& data)
{
    const std::optional<GifParser::Contents> contents = GifParser::Parse(data);
    if (!contents)
        return false;
    if (contents->background)
        m_background = QColor(*contents->background);
    if (contents->frames.size() == 1) {
        m_still = QImage::fromData(data, "GIF");
        return !m_still.isNull() && Prepare(contents->screen, {});
    }
    QList<GifFrame> frames;
    for (const GifParser::Frame& piece : contents->frames) {
        GifFrame frame = GifFrame::Decode(piece);
        if (!frame.picture.isNull())
            frames.append(std::move(frame));
    }
    return !frames.isEmpty() && Prepare(contents->screen, std::move(frames));
}

bool CPictureEx::Prepare(const QSize& size, QList<GifFrame> frames)
{
    if (!isReasonableSize(size))
        return false;
    auto composer = std::make_shared<GifComposer>(size, m_background, std::move(frames));
    if (!composer->IsValid())
        return false;
    m_composer = std::move(composer);
    resize(size);
    update();
    return true;
}

void CPictureEx::Unload()
{
    Stop();
    m_composer.reset();
    m_still = QImage();
}

void CPictureEx::SetBkColor(const QColor& colour)
{
    m_background = colour;
    if (m_composer)
        m_composer->SetBackground(colour);
    update();
}

bool CPictureEx::Draw()
{
    if (!m_composer)
        return false;
    if (m_animation)
        return true;
    if (m_composer->FrameCount() > 1) {
        m_animation = GifAnimation::Start(m_composer, [this](int index) {
            QMetaObject::invokeMethod(this, [this, index] { ShowFrame(index); }, Qt::QueuedConnection);
        });
    } else {
        m_composer->DrawPicture(m_still);
        update();
    }
    return true;
}

void CPictureEx::ShowFrame(int index)
{
    update();
    emit frameShown(index);
}

void CPictureEx::Stop()
{
    if (!m_animation)
        return;
    if (!m_animation->Stop(StopTimeoutMs))
        qWarning("CPictureEx: the animation thread did not end within %d ms; it is let go", StopTimeoutMs);
    m_animation.reset();
}

int CPictureEx::GetFrameCount() const
{
    return m_composer ? m_composer->FrameCount() : 0;
}

QImage CPictureEx::GetOffscreenImage() const
{
    return m_composer ? m_composer->Snapshot() : QImage();
}

void CPictureEx::paintEvent(QPaintEvent*)
{
    if (!m_composer)
        return;
    QPainter painter(this);
    painter.drawImage(0, 0, m_composer->Snapshot());
}
