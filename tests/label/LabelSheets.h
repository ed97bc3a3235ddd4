#pragma once
// Label sheets in the tests: written in the settings file's order, printed readably.

#include "app/AppSettings.h"

#include <ostream>

inline void PrintTo(const LabelSheet& s, std::ostream* os)
{
    *os << s.columns << "x" << s.rows << " top " << s.topMargin << " bottom " << s.bottomMargin << " left "
        << s.leftMargin << " right " << s.rightMargin << " row gap " << s.rowGap << " column gap " << s.columnGap;
}

namespace labeltest {

// Columns, rows, top, bottom, left, right, row gap, column gap.
inline LabelSheet sheet(int columns, int rows, int top, int bottom, int left, int right, int rowGap, int columnGap)
{
    LabelSheet s;
    s.columns = columns;
    s.rows = rows;
    s.topMargin = top;
    s.bottomMargin = bottom;
    s.leftMargin = left;
    s.rightMargin = right;
    s.rowGap = rowGap;
    s.columnGap = columnGap;
    return s;
}

} // namespace labeltest
