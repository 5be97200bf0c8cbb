#pragma once
#include "widgets/OddButton.h"

#include <QPixmap>

// A push button that paints itself, with an optional icon beside its text. With
// no visual style in force (CXThemeHelper) it paints in the classic raised and
// sunken look.
class CXButtonXP : public COddButton {
    Q_OBJECT

public:
    enum IconPlacement { IconLeft = 1, IconRight = 2 };

    explicit CXButtonXP(QWidget* parent = nullptr);

    // Each setter repaints the button at once and returns it, so calls chain.
    CXButtonXP& SetIcon(int iconId, int placement = IconLeft);
    CXButtonXP& SetIcon(const QPixmap& icon, int placement = IconLeft);
    CXButtonXP& SetToggle(bool on);
    CXButtonXP& SetTheme(bool on);
    CXButtonXP& SetToolbarStyle(bool on);

    bool IsToggle() const { return isCheckable(); }
    bool IsThemed() const;

    // Every pixel that is not transparent becomes the grey of its channels'
    // average; pure white becomes 254 so that it stays apart from white.
    static QPixmap GrayedCopy(const QPixmap& icon);

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    bool LooksPressed() const;
    void PaintFrame(QPainter& painter, bool pressed) const;
    QRect PaintIcon(QPainter& painter, QPoint offset) const;
    void PaintText(QPainter& painter, QRect area) const;
    void PaintFocus(QPainter& painter) const;

    QPixmap m_icon;
    QPixmap m_grayIcon;
    int m_placement = IconLeft;
    bool m_useTheme = true;
    bool m_toolbarStyle = false;
    int m_clickKey = 0; // the key held down that will click on release
};
