#pragma once
#include <QHash>
#include <QPixmap>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <optional>

// A balloon that shows a short text, optionally with an icon, with a pointer at
// its lower right whose tip touches a target point. In manual mode the owner
// says when and where; in tracking mode it follows registered windows under the
// mouse. The owner relays the events it sees, so a click hides the balloon.
class CCustomToolTip : public QWidget {
    Q_OBJECT

public:
    enum Mode { Manual = 0, Tracking = 1 };

    struct TipToolInfo {
        QString text;
        QPixmap icon;
    };

    static constexpr int kShowDelayMs = 100;
    static constexpr int kLeaveCheckMs = 500;

    CCustomToolTip();

    bool Create(QWidget* owner, Mode mode);

    // Manual mode only; an icon that cannot be loaded clears it.
    void SetIcon(int iconId);
    void SetIcon(const QPixmap& icon);

    // Manual mode: points at the centre of the owner's control "id<number>".
    bool ShowAtControl(const QString& text, int controlId);
    // Tracking mode: points at the point, or at the mouse when none is given.
    bool ShowAtPoint(const QString& text, std::optional<QPoint> point = std::nullopt);

    void RelayEvent(QObject* target, QEvent* event);
    void AddTool(QWidget* window, const QString& text, const QPixmap& icon = QPixmap());

    QPoint GetTargetPoint() const { return m_target; }
    QString GetText() const { return m_text; }
    // The balloon's outline in its own coordinates, pointer included.
    QRegion Shape() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QSize BodySize() const;
    QRect TextRect() const;
    void ArmShowTimer(const QString& text, QPoint target);
    void ShowBalloon();
    void HideIfMouseLeft();

    Mode m_mode = Manual;
    QPointer<QWidget> m_owner;
    QString m_text;
    QPixmap m_icon;
    QPoint m_target;
    QHash<QWidget*, TipToolInfo> m_tools;
    QTimer m_showTimer;
    QTimer m_leaveTimer;
};
