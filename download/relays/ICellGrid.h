#pragma once

// The strip of eight cell buttons.
class ICellGrid {
public:
    virtual ~ICellGrid() = default;

    // 0 no device, 1 device attached or download running, 2 passed, 3 failed.
    virtual void ShowCellStatus(int cell, int status) = 0;
};
