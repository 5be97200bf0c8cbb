#pragma once

// The list of the eight cells with their state pictures and progress bars.
class IProgressWindow {
public:
    virtual ~IProgressWindow() = default;

    // 0 idle, 1 running, 2 passed, 3 failed; other states change nothing.
    virtual void ShowCellState(int cell, int state) = 0;
    // force 0: a percentage equal to the one shown changes nothing; force 1
    // repaints it in the colour of the state.
    virtual void ShowCellProgress(int cell, int percent, int state, int force) = 0;
};
