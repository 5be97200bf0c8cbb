#pragma once
#include "widgets/ImageList.h"

#include <QHash>
#include <QToolBar>

#include <optional>

class QActionGroup;
class QToolButton;

// A toolbar of buttons made from bitmap resources, with text labels beside or
// below the images. Buttons share one image list; a bitmap added twice is kept
// once. Each button carries its command id and reports it when pressed.
class CCustomToolBar : public QToolBar {
    Q_OBJECT

public:
    enum ButtonStyle { PlainButton = 0, CheckGroupButton = 1 };

    static constexpr int kToolBarId = 59392;

    explicit CCustomToolBar(QWidget* parent = nullptr);

    // With list set the texts stand beside the images, otherwise below them.
    bool Create(QWidget* owner, int imageWidth, int imageHeight, bool list);
    void AddButton(int commandId, int bitmapId, const QString& text, int style);
    void AddSeparator();
    void SetButtonImage(int commandId, int bitmapId);
    void SetButtonWidth(int px);
    void SetButtonHeight(int px);
    void CheckButton(int commandId);

    QAction* GetButton(int commandId) const;
    QToolButton* GetButtonWidget(int commandId) const;
    int GetButtonImage(int commandId) const { return m_buttonImages.value(commandId, -1); }
    const CImageList& GetImageList() const { return m_images; }

signals:
    void CommandTriggered(int commandId);

private:
    int ImageFor(int bitmapId);
    void ApplyButtonSize(QToolButton* button) const;

    CImageList m_images;
    QList<int> m_bitmapIds;
    QHash<int, int> m_buttonImages;
    QActionGroup* m_group = nullptr;
    int m_buttonHeight = 0;
    std::optional<int> m_buttonWidth;
};
