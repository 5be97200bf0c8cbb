#pragma once
#include <QPointer>
#include <QRect>
#include <QString>
#include <QWidget>

// One tab of a TabCtrl, owned by the control. The hosted window belongs to its owner.
class TabItem {
public:
    QWidget* GetWindow() const { return m_window; }
    int GetImage() const { return m_image; } // below 0: no image
    QString GetText() const { return m_text; }
    QString GetToolTipText() const { return m_toolTip; }
    bool IsDisabled() const { return m_disabled; }
    QRect GetRect() const { return m_rect; }        // set by layout
    int GetNaturalWidth() const { return m_width; } // set by layout

private:
    friend class TabCtrl;

    TabItem(QWidget* window, const QString& text, int image)
        : m_window(window)
        , m_image(image)
        , m_text(text)
    {
    }

    QPointer<QWidget> m_window;
    int m_image;
    QString m_text;
    QString m_toolTip;
    bool m_disabled = false;
    QRect m_rect;
    int m_width = 0;
};
