#pragma once

#include "editor/page_fields.h"
#include "pages/field_page.h"

namespace qora::gui {

// The Details page: the vehicle's description, make, team, drivers and price, and its engine sounds, in 3 columns
// of groups.
class DetailsPage final : public GroupedFieldPage {
    Q_OBJECT

public:
    explicit DetailsPage(PageHost& host, QWidget* parent = nullptr)
        : GroupedFieldPage(editor::PgDetails, 3, host, parent) {}
};

} // namespace qora::gui
