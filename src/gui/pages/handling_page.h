#pragma once

#include "editor/page_fields.h"
#include "pages/field_page.h"

namespace qora::gui {

// The Handling page: springs, shocks, bumpstops, camber and anti-roll bars, in 3 columns of groups.
class HandlingPage final : public GroupedFieldPage {
    Q_OBJECT

public:
    explicit HandlingPage(PageHost& host, QWidget* parent = nullptr)
        : GroupedFieldPage(editor::PgHandling, 3, host, parent) {}
};

} // namespace qora::gui
