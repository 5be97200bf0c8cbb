#pragma once
#include "download/LineColour.h"

#include <QString>

// The message logger page with its eight cell pages.
class ICellPages {
public:
    virtual ~ICellPages() = default;

    // Classifies the line by its colour and shows or collects it.
    virtual void AppendCellMessage(int cell, const QString& text, RgbColour colour) = 0;
    virtual void ShowPage(int cell) = 0;
    // Empties the cell's page and record lines and resets its serial number.
    virtual void ClearCellPage(int cell) = 0;
    // Writes the cell's screen dump, then its test records.
    virtual void WriteRecords(int cell, const QString& modelName, bool passed) = 0;
};
