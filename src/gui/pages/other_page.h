#pragma once

#include "editor/page_fields.h"
#include "pages/field_page.h"

namespace qora::gui {

// The Other page: mass and its distribution, inertia, fuel, damage and the collision points, in 2 columns of groups.
class OtherPage final : public GroupedFieldPage {
    Q_OBJECT

public:
    explicit OtherPage(PageHost& host, QWidget* parent = nullptr)
        : GroupedFieldPage(editor::PgOther, 2, host, parent) {}
};

} // namespace qora::gui
