#pragma once

#include "editor/page_fields.h"
#include "pages/field_page.h"

namespace qora::gui {

// The Tires page: the front and rear tyres, steering and brakes, in 3 columns of groups.
class TiresPage final : public GroupedFieldPage {
    Q_OBJECT

public:
    explicit TiresPage(PageHost& host, QWidget* parent = nullptr)
        : GroupedFieldPage(editor::PgTires, 3, host, parent) {}
};

} // namespace qora::gui
