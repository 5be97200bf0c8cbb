#pragma once
#include <QString>

// The common settings page: a list of five labelled rows.
class ICommonSettingsPage {
public:
    virtual ~ICommonSettingsPage() = default;

    // Sets the value column of a row; a row outside 0 to 4 is refused.
    virtual bool SetRowValue(int row, const QString& text) = 0;
};
