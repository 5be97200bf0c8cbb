#pragma once
#include <QFileDialog>

// An open or save file dialog that remembers the path chosen when OK was
// pressed. The filter is written as name|pattern pairs ("Text(*.txt)|*.txt||"),
// patterns separated by ';'.
class CCustomFileDialog : public QFileDialog {
    Q_OBJECT

public:
    enum Kind { OpenFile, SaveFile };

    CCustomFileDialog(Kind kind, const QString& filter, QWidget* parent = nullptr);

    bool WasChosen() const { return m_chosen; }
    QString ChosenPath() const { return m_chosenPath; }
    // 1-based position of the filter the dialog ended on.
    int ChosenFilterIndex() const { return m_filterIndex; }

    // The name filters the dialog shows for a name|pattern filter text.
    static QStringList NameFilters(const QString& filter);

    void done(int result) override;

private:
    QStringList m_nameFilters;
    bool m_chosen = false;
    QString m_chosenPath;
    int m_filterIndex = 0;
};
