#include "widgets/WidgetDesktopService.h"

#include "widgets/CustomFileDialog.h"

#include <QApplication>
#include <QDesktopServices>
#include <QUrl>

std::optional<DesktopService::FileChoice> WidgetDesktopService::chooseFile(FileDialogKind kind, const QString& filter)
{
    CCustomFileDialog dialog(kind == FileDialogKind::Save ? CCustomFileDialog::SaveFile : CCustomFileDialog::OpenFile,
        filter, QApplication::activeWindow());
    dialog.exec();
    if (!dialog.WasChosen())
        return std::nullopt;
    return FileChoice{dialog.ChosenPath(), dialog.ChosenFilterIndex()};
}

bool WidgetDesktopService::bringWindowForward(const QString& title)
{
    if (title.isEmpty())
        return false;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isWindow() && window->windowTitle() == title) {
            if (window->isMinimized())
                window->showNormal();
            else
                window->show();
            window->raise();
            window->activateWindow();
            return true;
        }
    }
    return false;
}

bool WidgetDesktopService::openDocument(const QString& path)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}
