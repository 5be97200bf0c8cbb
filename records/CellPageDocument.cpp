#include "records/CellPageDocument.h"

const PageLine& CellPageDocument::append(PageLine line)
{
    return m_lines.emplace_back(std::move(line));
}

void CellPageDocument::clear()
{
    std::deque<PageLine>().swap(m_lines);
}
