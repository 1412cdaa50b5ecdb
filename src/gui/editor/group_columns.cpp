#include "editor/group_columns.h"

#include <algorithm>
#include <functional>
#include <limits>

#include <QEvent>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace qora::gui {

namespace {

constexpr int kSpacing = 10;

} // namespace

std::vector<int> balancedColumns(const std::vector<int>& heights, int columns) {
    const int n = static_cast<int>(heights.size());
    columns = std::clamp(columns, 1, std::max(n, 1));
    std::vector<int> best(static_cast<std::size_t>(n), 0);
    int bestMax = std::numeric_limits<int>::max();
    std::vector<int> cuts(static_cast<std::size_t>(columns - 1), 0);
    // Few groups on a page: trying every way to cut the sequence is cheap.
    std::function<void(int, int)> tryCuts = [&](int index, int start) {
        if (index == columns - 1) {
            std::vector<int> assignment(static_cast<std::size_t>(n));
            int column = 0;
            int worst = 0;
            int height = 0;
            for (int i = 0; i < n; ++i) {
                while (column < columns - 1 && i >= cuts[static_cast<std::size_t>(column)]) {
                    worst = std::max(worst, height);
                    height = 0;
                    ++column;
                }
                assignment[static_cast<std::size_t>(i)] = column;
                height += heights[static_cast<std::size_t>(i)];
            }
            worst = std::max(worst, height);
            if (worst < bestMax) {
                bestMax = worst;
                best = assignment;
            }
            return;
        }
        for (int cut = start + 1; cut <= n - (columns - 1 - index); ++cut) {
            cuts[static_cast<std::size_t>(index)] = cut;
            tryCuts(index + 1, cut);
        }
    };
    tryCuts(0, 0);
    return best;
}

GroupColumns::GroupColumns(int maxColumns, QWidget* parent) : QWidget(parent), m_maxColumns(std::max(1, maxColumns)) {}

void GroupColumns::addGroup(QWidget* group, int rows) {
    group->setParent(this);
    m_groups.push_back(group);
    m_rows.push_back(rows);
    arrange(std::min<int>(m_maxColumns, static_cast<int>(m_groups.size())));
}

int GroupColumns::widthOf(int columns) const {
    const std::vector<int> assignment = balancedColumns(m_rows, columns);
    std::vector<int> widths(static_cast<std::size_t>(std::max(columns, 1)), 0);
    for (std::size_t g = 0; g < m_groups.size(); ++g) {
        int& width = widths[static_cast<std::size_t>(assignment[g])];
        width = std::max(width, m_groups[g]->minimumSizeHint().width());
    }
    int total = 0;
    for (int width : widths)
        total += width;
    return total + kSpacing * (static_cast<int>(widths.size()) - 1);
}

int GroupColumns::columnsFor(int width) const {
    const int most = std::min<int>(m_maxColumns, static_cast<int>(m_groups.size()));
    for (int columns = most; columns > 1; --columns)
        if (widthOf(columns) <= width)
            return columns;
    return 1;
}

void GroupColumns::arrange(int columns) {
    if (columns == m_columns || m_groups.empty())
        return;
    m_arranging = true;
    delete layout(); // the groups stay: a layout does not own the widgets it places
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(kSpacing);
    std::vector<QVBoxLayout*> columnLayouts;
    for (int c = 0; c < columns; ++c) {
        auto* column = new QVBoxLayout;
        column->setSpacing(kSpacing);
        row->addLayout(column, 1);
        columnLayouts.push_back(column);
    }
    const std::vector<int> assignment = balancedColumns(m_rows, columns);
    for (std::size_t g = 0; g < m_groups.size(); ++g)
        columnLayouts[static_cast<std::size_t>(assignment[g])]->addWidget(m_groups[g]);
    for (QVBoxLayout* column : columnLayouts)
        column->addStretch(1);
    m_columns = columns;
    m_arranging = false;
}

QSize GroupColumns::sizeHint() const {
    // As wide as the page's columns want to be: a window that can grow shows them all side by side.
    const int most = std::min<int>(m_maxColumns, static_cast<int>(m_groups.size()));
    const int height = layout() ? layout()->sizeHint().height() : 0;
    return {widthOf(most), height};
}

QSize GroupColumns::minimumSizeHint() const {
    const int height = layout() ? layout()->minimumSize().height() : 0;
    return {widthOf(1), height};
}

bool GroupColumns::event(QEvent* event) {
    const bool handled = QWidget::event(event);
    if (!m_arranging && (event->type() == QEvent::Resize || event->type() == QEvent::LayoutRequest)) {
        const int columns = columnsFor(width());
        if (columns != m_columns) {
            arrange(columns);
            updateGeometry();
        }
    }
    return handled;
}

} // namespace qora::gui
