#include "widgets/CustomFileDialog.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Presses the dialog's Open or Save button, as the operator would.
void pressAccept(QFileDialog& dialog)
{
    auto* buttons = dialog.findChild<QDialogButtonBox*>();
    QVERIFY(buttons);
    for (QAbstractButton* button : buttons->buttons()) {
        if (buttons->buttonRole(button) == QDialogButtonBox::AcceptRole)
            return button->click();
    }
    QFAIL("no accept button");
}

} // namespace

class CustomFileDialogTest : public QObject {
    Q_OBJECT

private slots:
    void filterTextBecomesNameFilters_data();
    void filterTextBecomesNameFilters();
    void savingRemembersTheChosenPath();
    void openingRemembersTheChosenFileAndFilter();
    void cancellingChoosesNothing();
};

void CustomFileDialogTest::filterTextBecomesNameFilters_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QStringList>("nameFilters");
    QTest::newRow("package") << "VKB File(*.VKB)|*.vkb|ALL Files(*.*)|*.*.*||"
                             << QStringList{"VKB File(*.VKB) (*.vkb)", "ALL Files(*.*) (*)"};
    QTest::newRow("text") << "*.txt|*.txt||" << QStringList{"*.txt (*.txt)"};
    QTest::newRow("several patterns") << "Pictures|*.png;*.gif||" << QStringList{"Pictures (*.png *.gif)"};
    QTest::newRow("empty") << "|" << QStringList{};
}

void CustomFileDialogTest::filterTextBecomesNameFilters()
{
    QFETCH(QString, filter);
    QFETCH(QStringList, nameFilters);
    QCOMPARE(CCustomFileDialog::NameFilters(filter), nameFilters);
}

void CustomFileDialogTest::savingRemembersTheChosenPath()
{
    QTemporaryDir folder;
    CCustomFileDialog dialog(CCustomFileDialog::SaveFile, QStringLiteral("*.txt|*.txt||"));
    QCOMPARE(dialog.acceptMode(), QFileDialog::AcceptSave);
    QVERIFY(!dialog.testOption(QFileDialog::DontConfirmOverwrite));
    dialog.setDirectory(folder.path());
    dialog.open();
    dialog.selectFile(QStringLiteral("report"));
    pressAccept(dialog);
    QVERIFY(dialog.WasChosen());
    QCOMPARE(dialog.ChosenPath(), folder.filePath(QStringLiteral("report")));
    QCOMPARE(dialog.ChosenFilterIndex(), 1);
}

void CustomFileDialogTest::openingRemembersTheChosenFileAndFilter()
{
    QTemporaryDir folder;
    QFile package(folder.filePath(QStringLiteral("PHONE.VKB")));
    QVERIFY(package.open(QIODevice::WriteOnly));
    package.close();
    CCustomFileDialog dialog(CCustomFileDialog::OpenFile,
        QStringLiteral("VKB File(*.VKB)|*.vkb|ALL Files(*.*)|*.*.*||"));
    dialog.setDirectory(folder.path());
    dialog.open();
    dialog.selectNameFilter(QStringLiteral("ALL Files(*.*) (*)"));
    dialog.selectFile(package.fileName());
    pressAccept(dialog);
    QVERIFY(dialog.WasChosen());
    QCOMPARE(dialog.ChosenPath(), package.fileName());
    QCOMPARE(dialog.ChosenFilterIndex(), 2);
}

void CustomFileDialogTest::cancellingChoosesNothing()
{
    QTemporaryDir folder;
    CCustomFileDialog dialog(CCustomFileDialog::SaveFile, QStringLiteral("*.txt|*.txt||"));
    dialog.setDirectory(folder.path());
    dialog.open();
    dialog.selectFile(QStringLiteral("report"));
    dialog.reject();
    QVERIFY(!dialog.WasChosen());
    QVERIFY(dialog.ChosenPath().isEmpty());
}

QTEST_MAIN(CustomFileDialogTest)
#include "CustomFileDialogTest.moc"
