#pragma once
#include "download/LineColour.h"

#include <QString>

#include <cstddef>
#include <deque>

// One line shown on a cell's page, with the character format it was inserted with.
struct PageLine {
    QString text; // time stamp, cell and message, ending in a line feed
    RgbColour colour;
    int heightTwips;
    int weight;
};

// The content of one cell's page: its lines in the order they were shown. Pages
// grow for a whole download and are only ever appended to or emptied, so lines
// are kept where no append moves the earlier ones.
class CellPageDocument {
public:
    // Returns the line as stored, which stays where it is until the page is emptied.
    const PageLine& append(PageLine line);
    void clear();

    std::size_t lineCount() const { return m_lines.size(); }
    bool isEmpty() const { return m_lines.empty(); }
    const PageLine& line(std::size_t index) const { return m_lines[index]; }

    auto begin() const { return m_lines.cbegin(); }
    auto end() const { return m_lines.cend(); }

private:
    std::deque<PageLine> m_lines;
};
