#include "config/PublicFunction.h"
#include "widgets/CustomFileDialog.h"
#include "widgets/WidgetDesktopService.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

// Answers the next modal file dialog the way an operator would: types a name
// and presses the accept button, or cancels.
void answerNextDialog(const QString& name, bool accept)
{
    QTimer::singleShot(0, [name, accept] {
        auto* dialog = qobject_cast<CCustomFileDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return answerNextDialog(name, accept);
        if (!accept)
            return dialog->reject();
        dialog->selectFile(name);
        auto* buttons = dialog->findChild<QDialogButtonBox*>();
        for (QAbstractButton* button : buttons->buttons()) {
            if (buttons->buttonRole(button) == QDialogButtonBox::AcceptRole)
                button->click();
        }
    });
}

} // namespace

class WidgetDesktopServiceTest : public QObject {
    Q_OBJECT

private slots:
    void init() { DesktopService::install(&m_service); }
    void cleanup() { DesktopService::install(nullptr); }

    void saveDialogNameGetsTheExtension_data();
    void saveDialogNameGetsTheExtension();
    void cancelledSaveGivesNothing();
    void openDialogGivesTheChosenFile();
    void windowWithTheTitleIsBroughtForward();

private:
    WidgetDesktopService m_service;
    CPublicFunction m_functions;
};

void WidgetDesktopServiceTest::saveDialogNameGetsTheExtension_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("saved");
    QTest::newRow("bare name") << "report" << "report.txt";
    QTest::newRow("with extension") << "report.txt" << "report.txt";
    QTest::newRow("upper-case extension") << "report.TXT" << "report.TXT.txt";
}

void WidgetDesktopServiceTest::saveDialogNameGetsTheExtension()
{
    QFETCH(QString, typed);
    QFETCH(QString, saved);
    QTemporaryDir folder;
    answerNextDialog(folder.filePath(typed), true);
    QString path;
    QVERIFY(m_functions.BrowseSaveFile({QStringLiteral("*.txt")}, {QStringLiteral("txt")}, path));
    QCOMPARE(path, folder.filePath(saved));
}

void WidgetDesktopServiceTest::cancelledSaveGivesNothing()
{
    answerNextDialog(QString(), false);
    QString path = QStringLiteral("old");
    QVERIFY(!m_functions.BrowseSaveFile({QStringLiteral("*.txt")}, {QStringLiteral("txt")}, path));
    QVERIFY(path.isEmpty());
}

void WidgetDesktopServiceTest::openDialogGivesTheChosenFile()
{
    QTemporaryDir folder;
    QFile package(folder.filePath(QStringLiteral("phone.vkb")));
    QVERIFY(package.open(QIODevice::WriteOnly));
    package.close();
    answerNextDialog(package.fileName(), true);
    QString path;
    QVERIFY(m_functions.BrowseOpenFile({QStringLiteral("VKB File(*.VKB)"), QStringLiteral("ALL Files(*.*)")},
        {QStringLiteral("vkb"), QStringLiteral("*.*")}, path));
    QCOMPARE(path, package.fileName());
}

void WidgetDesktopServiceTest::windowWithTheTitleIsBroughtForward()
{
    QWidget help;
    help.setWindowTitle(QStringLiteral("ZARV_HELP"));
    QWidget other;
    other.setWindowTitle(QStringLiteral("ZARV_HELP (old)"));
    QVERIFY(m_service.bringWindowForward(QStringLiteral("ZARV_HELP")));
    QVERIFY(help.isVisible());
    QVERIFY(!other.isVisible());
    QVERIFY(!m_service.bringWindowForward(QStringLiteral("ZARV")));
    QVERIFY(!m_service.bringWindowForward(QString()));
    // Found, so nothing is handed to the desktop to open.
    QVERIFY(m_functions.OpenOrActivate(QStringLiteral("/nonexistent/ZARV_Help.html"), QStringLiteral("ZARV_HELP")));
}

QTEST_MAIN(WidgetDesktopServiceTest)
#include "WidgetDesktopServiceTest.moc"
