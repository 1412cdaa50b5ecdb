#pragma once

#include <vector>

#include <QWidget>

class QHBoxLayout;

namespace qora::gui {

// The group boxes of a page in balanced columns: as many as the page asks for when the width allows, fewer when
// it does not (a ghost's twin column makes every group wider), so a page never needs scrolling sideways. The
// groups keep their order; a column holds a run of consecutive groups.
class GroupColumns final : public QWidget {
public:
    GroupColumns(int maxColumns, QWidget* parent = nullptr);

    // `rows` weighs the group when columns are balanced.
    void addGroup(QWidget* group, int rows);
    int columnCount() const { return m_columns; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    bool event(QEvent* event) override;

private:
    // The most columns (up to the maximum) whose groups fit `width`.
    int columnsFor(int width) const;
    int widthOf(int columns) const;
    int heightOf(int columns) const;
    void arrange(int columns);

    std::vector<QWidget*> m_groups;
    std::vector<int> m_rows;
    int m_maxColumns;
    int m_columns = 0;
    bool m_arranging = false;
};

// Contiguous groups of rows split into `columns` columns so that the tallest column is as short as possible;
// the column of each group.
std::vector<int> balancedColumns(const std::vector<int>& heights, int columns);

} // namespace qora::gui
