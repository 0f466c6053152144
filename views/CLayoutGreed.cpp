#include "views/CLayoutGreed.h"

#include <algorithm>
#include <stdexcept>

void CLayoutGreed::resetLayout() {
    m_columnCount = 0;
    m_rowCount = 0;
    m_valid = true;
    m_needsComputing = true;
    m_cells.clear();
    m_rects.clear();
    m_columnFractions.clear();
    m_rowFractions.clear();
    m_paneIds.clear();
}

void CLayoutGreed::setTwoColumns() {
    m_columnCount = 2;
    m_columnFractions.assign(2, -1.0);
}

void CLayoutGreed::setTwoRows() {
    m_rowCount = 2;
    m_rowFractions.assign(2, -1.0);
}

namespace {

void storeFraction(std::vector<double>& fractions, int& count, double fraction, int index) {
    if (index < 0)
        throw std::invalid_argument("negative layout index");
    const auto at = static_cast<std::size_t>(index);
    if (fractions.empty() || at >= fractions.size())
        count = index + 1;
    if (fractions.size() <= at)
        fractions.resize(at + 1, -1.0);
    fractions[at] = fraction;
}

} // namespace

void CLayoutGreed::setColumnFraction(double fraction, int index) {
    storeFraction(m_columnFractions, m_columnCount, fraction, index);
}

void CLayoutGreed::setRowFraction(double fraction, int index) {
    storeFraction(m_rowFractions, m_rowCount, fraction, index);
}

bool CLayoutGreed::validateOne(int count, std::vector<double>& fractions) {
    if (count == 0 || static_cast<std::size_t>(count) != fractions.size())
        return false;
    if (count == 1) {
        fractions[0] = 1.0;
        return true;
    }
    double others = 0.0;
    for (int i = 0; i + 1 < count; ++i)
        others += fractions[static_cast<std::size_t>(i)];
    fractions.back() = 1.0 - others;
    return fractions.back() > 0.0;
}

bool CLayoutGreed::validateFractions() {
    if (!validateOne(m_columnCount, m_columnFractions) ||
        !validateOne(m_rowCount, m_rowFractions)) {
        m_valid = false;
        return false;
    }
    return true;
}

void CLayoutGreed::assignCell(std::int32_t paneId, int column, int row) {
    if (m_cells.empty()) {
        if (m_columnFractions.empty() || m_rowFractions.empty()) {
            m_valid = false;
            return;
        }
        m_cells.assign(static_cast<std::size_t>(m_columnCount * m_rowCount), CLayoutCell{});
    }
    const long index = static_cast<long>(column) + static_cast<long>(row) * m_columnCount;
    if (column < 0 || row < 0 || index >= static_cast<long>(m_cells.size()))
        throw std::invalid_argument("layout cell outside the table");
    m_cells[static_cast<std::size_t>(index)].paneId = paneId;
    m_paneIds[paneId] = paneId;
}

std::int32_t CLayoutGreed::cellPane(int row, int column) const {
    if (column < 0 || row < 0 || column >= m_columnCount || row >= m_rowCount)
        return -1;
    const auto index = static_cast<std::size_t>(column + row * m_columnCount);
    return index < m_cells.size() ? m_cells[index].paneId : -1;
}

double CLayoutGreed::edge(const std::vector<double>& fractions, int count, int k) {
    if (k == 0)
        return 0.0;
    if (k >= 1 && k <= count) {
        double sum = 0.0;
        for (int i = 0; i < k && i < static_cast<int>(fractions.size()); ++i)
            sum += fractions[static_cast<std::size_t>(i)];
        return sum;
    }
    return k == count + 1 ? 1.0 : -1.0;
}

double CLayoutGreed::columnEdge(int k) const {
    return edge(m_columnFractions, m_columnCount, k);
}

double CLayoutGreed::rowEdge(int k) const {
    return edge(m_rowFractions, m_rowCount, k);
}

void CLayoutGreed::computeFractionRects() {
    if (!m_valid)
        return;
    for (const auto& entry : m_paneIds) {
        if (entry.first < 0)
            throw std::invalid_argument("negative pane id");
        const auto id = static_cast<std::size_t>(entry.first);
        if (m_rects.size() <= id)
            m_rects.resize(id + 1);
        m_rects[id] = CFrctnRctng{};
    }
    for (int c = 0; c < m_columnCount; ++c) {
        for (int r = 0; r < m_rowCount; ++r) {
            const std::int32_t pane = cellPane(r, c);
            if (pane < 0 || static_cast<std::size_t>(pane) >= m_rects.size())
                throw std::invalid_argument("layout cell without a pane");
            CFrctnRctng& rect = m_rects[static_cast<std::size_t>(pane)];
            const double left = columnEdge(c);
            const double right = columnEdge(c + 1);
            const double top = rowEdge(r);
            const double bottom = rowEdge(r + 1);
            if (!rect.isSet()) {
                rect = CFrctnRctng{right, left, top, bottom};
                continue;
            }
            rect.left = std::min(rect.left, left);
            rect.right = std::max(rect.right, right);
            rect.top = std::min(rect.top, top);
            rect.bottom = std::max(rect.bottom, bottom);
        }
    }
    m_needsComputing = false;
}

const std::vector<CFrctnRctng>* CLayoutGreed::fractionRects() const {
    return m_needsComputing ? nullptr : &m_rects;
}
