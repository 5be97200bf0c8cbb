#pragma once
#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QWidget>

#include <memory>

class GifAnimation;
class GifComposer;
struct GifFrame;

// A picture control that plays an animated GIF on a thread of its own, or shows
// a still picture of any format the toolkit reads.
class CPictureEx : public QWidget {
    Q_OBJECT

public:
    explicit CPictureEx(QWidget* parent = nullptr);
    ~CPictureEx() override;

    // Reads the picture "<type>/<name>.<type>" from the program's resources (ResourceImage).
    bool Load(const QString& resourceName, const QString& resourceType);
    // Parses the picture, sizes the control to it and prepares the off-screen image.
    bool Load(const QByteArray& data);

    void SetBkColor(const QColor& colour);
    bool Draw();
    // Waits at most StopTimeoutMs for the animation thread to end.
    void Stop();

    bool IsPlaying() const { return m_animation != nullptr; }
    int GetFrameCount() const;
    QImage GetOffscreenImage() const;

    static constexpr int StopTimeoutMs = 5000;

signals:
    // A frame has been composed into the off-screen image (queued from the thread).
    void frameShown(int index);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void Unload();
    bool LoadGif(const QByteArray& data);
    bool Prepare(const QSize& size, QList<GifFrame> frames);
    void ShowFrame(int index);

    QColor m_background;
    QImage m_still;
    std::shared_ptr<GifComposer> m_composer;
    std::shared_ptr<GifAnimation> m_animation;
};
