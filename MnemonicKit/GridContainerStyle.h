#pragma once

#include <QStringView>

// What the opening tag of a div says about laying out its children: a grid with a column count, a
// flex row, a flex column, or no container at all.
class GridContainerStyle {
public:
    enum class Layout { none, grid, flexRow, flexColumn };

    static GridContainerStyle fromOpeningTag(QStringView tag);

    Layout layout() const { return m_layout; }
    bool isContainer() const { return m_layout != Layout::none; }
    // The number of columns to lay `cellCount` cells out in, at least 1 and at most the cell count.
    int columns(qsizetype cellCount) const;

private:
    Layout m_layout = Layout::none;
    qsizetype m_gridColumns = 1;
};
