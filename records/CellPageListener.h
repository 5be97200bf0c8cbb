#pragma once
#include "records/CellPageDocument.h"

// What the window that shows the cell pages is told by the message logger, so it
// can mirror the pages without reading them again.
class CellPageListener {
public:
    virtual ~CellPageListener() = default;

    // A line was added at the end of the cell's page.
    virtual void lineAppended(int cell, const PageLine& line) = 0;
    // The cell's page was emptied.
    virtual void pageCleared(int cell) = 0;
    // The cell's page became the one on show.
    virtual void currentPageChanged(int cell) = 0;
};
