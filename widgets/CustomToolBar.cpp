#include "widgets/CustomToolBar.h"

#include <QActionGroup>
#include <QDebug>
#include <QMainWindow>
#include <QToolButton>

CCustomToolBar::CCustomToolBar(QWidget* parent)
    : QToolBar(parent)
    , m_images(16, 16)
{
}

bool CCustomToolBar::Create(QWidget* owner, int imageWidth, int imageHeight, bool list)
{
    if (!owner || imageWidth <= 0 || imageHeight <= 0)
        return false;
    setObjectName(QStringLiteral("id%1").arg(kToolBarId));
    m_images = CImageList(imageWidth, imageHeight);
    setIconSize(QSize(imageWidth, imageHeight));
    setToolButtonStyle(list ? Qt::ToolButtonTextBesideIcon : Qt::ToolButtonTextUnderIcon);
    setMovable(false);
    setFloatable(false);
    if (auto* frame = qobject_cast<QMainWindow*>(owner))
        frame->addToolBar(Qt::TopToolBarArea, this);
    else
        setParent(owner);
    show();
    return true;
}

void CCustomToolBar::AddButton(int commandId, int bitmapId, const QString& text, int style)
{
    const int image = ImageFor(bitmapId);
    QAction* action = addAction(QIcon(m_images.GetImage(image)), text);
    action->setData(commandId);
    m_buttonImages.insert(commandId, image);
    connect(action, &QAction::triggered, this, [this, commandId] { emit CommandTriggered(commandId); });
    if (style == CheckGroupButton) {
        if (!m_group)
            m_group = new QActionGroup(this);
        action->setCheckable(true);
        m_group->addAction(action);
    } else {
        // A plain button ends the group; separators between group buttons do not.
        m_group = nullptr;
    }
    if (auto* button = qobject_cast<QToolButton*>(widgetForAction(action)))
        ApplyButtonSize(button);
}

void CCustomToolBar::AddSeparator()
{
    addSeparator();
}

void CCustomToolBar::SetButtonImage(int commandId, int bitmapId)
{
    QAction* action = GetButton(commandId);
    if (!action)
        return;
    const int image = ImageFor(bitmapId);
    m_buttonImages.insert(commandId, image);
    action->setIcon(QIcon(m_images.GetImage(image)));
}

void CCustomToolBar::SetButtonWidth(int px)
{
    m_buttonWidth = px;
    for (QAction* action : actions()) {
        if (auto* button = qobject_cast<QToolButton*>(widgetForAction(action)))
            ApplyButtonSize(button);
    }
    adjustSize();
}

void CCustomToolBar::SetButtonHeight(int px)
{
    m_buttonHeight = px;
    for (QAction* action : actions()) {
        if (auto* button = qobject_cast<QToolButton*>(widgetForAction(action)))
            ApplyButtonSize(button);
    }
    adjustSize();
}

void CCustomToolBar::CheckButton(int commandId)
{
    if (QAction* action = GetButton(commandId))
        action->setChecked(true);
}

QAction* CCustomToolBar::GetButton(int commandId) const
{
    for (QAction* action : actions()) {
        if (!action->isSeparator() && action->data().toInt() == commandId)
            return action;
    }
    return nullptr;
}

QToolButton* CCustomToolBar::GetButtonWidget(int commandId) const
{
    QAction* action = GetButton(commandId);
    return action ? qobject_cast<QToolButton*>(widgetForAction(action)) : nullptr;
}

int CCustomToolBar::ImageFor(int bitmapId)
{
    const int known = m_bitmapIds.indexOf(bitmapId);
    if (known >= 0)
        return known;
    // Positions in the id list are image indexes, so a bitmap that cannot be
    // loaded still takes its place, as an empty image.
    if (m_images.AddBitmap(bitmapId) < 0) {
        qWarning() << "toolbar bitmap" << bitmapId << "cannot be loaded";
        QPixmap empty(m_images.GetImageSize());
        empty.fill(Qt::transparent);
        m_images.Add(empty);
    }
    m_bitmapIds.append(bitmapId);
    return int(m_bitmapIds.size()) - 1;
}

void CCustomToolBar::ApplyButtonSize(QToolButton* button) const
{
    if (m_buttonHeight > 0) {
        button->setFixedHeight(m_buttonHeight);
        button->setMinimumWidth(m_images.GetImageSize().width());
    }
    if (m_buttonWidth) {
        button->setMinimumWidth(*m_buttonWidth);
        button->setMaximumWidth(*m_buttonWidth);
    }
}
