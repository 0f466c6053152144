#pragma once

#include "views/CFrctnRctng.h"
#include "views/CLayoutCell.h"

#include <cstdint>
#include <map>
#include <vector>

// The proportional table that places the panes: column widths and row heights as fractions of
// the client area, each cell naming its pane; a pane over several cells gets their bounding
// rectangle. Definition errors clear the valid flag; bad indexes throw std::invalid_argument.
class CLayoutGreed {
public:
    CLayoutGreed() { resetLayout(); }

    void resetLayout();
    void setTwoColumns();
    void setTwoRows();
    void setColumnFraction(double fraction, int index);
    void setRowFraction(double fraction, int index);
    bool validateFractions();
    void assignCell(std::int32_t paneId, int column, int row);
    std::int32_t cellPane(int row, int column) const;
    double columnEdge(int k) const;
    double rowEdge(int k) const;
    void computeFractionRects();
    // Null while the rectangles still need computing.
    const std::vector<CFrctnRctng>* fractionRects() const;

    bool isValid() const { return m_valid; }
    const std::map<std::int32_t, std::int32_t>& paneIds() const { return m_paneIds; }

    // Kept here for the main frame, as it keeps its menu state beside the layout.
    std::int32_t menuResourceId = -1;
    std::map<int, int> frameMap;

private:
    static bool validateOne(int count, std::vector<double>& fractions);
    static double edge(const std::vector<double>& fractions, int count, int k);

    std::map<std::int32_t, std::int32_t> m_paneIds;
    bool m_valid = true;
    bool m_needsComputing = true;
    int m_columnCount = 0;
    int m_rowCount = 0;
    std::vector<double> m_columnFractions;
    std::vector<double> m_rowFractions;
    std::vector<CLayoutCell> m_cells;
    std::vector<CFrctnRctng> m_rects;
};
