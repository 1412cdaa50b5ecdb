#include "pages/aerodynamics_page.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "calc/field_rules.h"
#include "documents/edit_history.h"
#include "documents/ghost_document.h"
#include "documents/vehicle_document.h"
#include "editor/field_access.h"
#include "editor/page_fields.h"
#include "pages/page_host.h"
#include "platform/prompt.h"
#include "platform/qt_text.h"
#include "settings/settings.h"

namespace qora::gui {

AerodynamicsPage::AerodynamicsPage(PageHost& host, QWidget* parent) : FieldPage(editor::PgAerodynamics, host, parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->setSpacing(8);

    auto* row = new QWidget(this);
    auto* rowLayout = new QHBoxLayout(row);
    rowLayout->setContentsMargins(0, 0, 0, 0);
    m_anglesInDegrees = new QCheckBox(tr("Show wing angles in de&grees"), row);
    m_anglesInDegrees->setObjectName(QStringLiteral("cbAnglesInDegrees"));
    connect(m_anglesInDegrees, &QCheckBox::clicked, this,
            [this] { this->host().guarded([this] { toggleAnglesInDegrees(); }); });
    m_angleHeader = new QLabel(qtName(kAngleHeaderRadians), row);
    m_angleHeader->setObjectName(QStringLiteral("Panel42"));
    QFont bold = m_angleHeader->font();
    bold.setBold(true);
    m_angleHeader->setFont(bold);
    rowLayout->addWidget(m_angleHeader);
    rowLayout->addSpacing(12);
    rowLayout->addWidget(m_anglesInDegrees);
    rowLayout->addStretch(1);

    layout->addWidget(row);
    layout->addWidget(buildGroups(2, this));
    layout->addStretch(1);
}

void AerodynamicsPage::applyAngleMode(bool degrees) {
    m_angleHeader->setText(qtName(degrees ? kAngleHeaderDegrees : kAngleHeaderRadians));
    const int limit = degrees ? kAngleMaxLengthDegrees : kAngleMaxLengthRadians;
    for (const char* name : {"efAngle", "erAngle"})
        setTypingLimit(control(name), limit);
    const QSignalBlocker blocker(m_anglesInDegrees);
    m_anglesInDegrees->setChecked(degrees);
}

void AerodynamicsPage::restoreOptions() {
    applyAngleMode(host().settings().anglesInDegrees);
}

std::optional<AngleTexts> AerodynamicsPage::otherSetAngles(bool ghost) const {
    if (ghost ? !host().document().isOpen() : !host().ghostDocument().isOpen())
        return std::nullopt;
    return AngleTexts{toLatin1(textOf(control(ghost ? "efAngle" : "gefAngle"))),
                      toLatin1(textOf(control(ghost ? "erAngle" : "gerAngle")))};
}

void AerodynamicsPage::toggleAnglesInDegrees() {
    Settings& settings = host().settings();
    const bool wanted = !settings.anglesInDegrees;
    if (!host().document().isOpen()) {
        applyAngleMode(settings.anglesInDegrees);
        return;
    }
    const AngleTexts shown{toLatin1(textOf(control("efAngle"))), toLatin1(textOf(control("erAngle")))};
    const AngleModeChange change = setAngleMode(settings.anglesInDegrees, wanted, true, shown, otherSetAngles(false));
    switch (change.outcome) {
    case AngleModeOutcome::Failed:
        host().prompt().tell(std::string(kMathUnitTitle), change.message, PromptIcon::Exclamation);
        applyAngleMode(settings.anglesInDegrees);
        return;
    case AngleModeOutcome::Unchanged:
        applyAngleMode(settings.anglesInDegrees);
        return;
    case AngleModeOutcome::Applied:
        break;
    }
    settings.anglesInDegrees = change.degrees;
    applyAngleMode(change.degrees);
    if (change.vehicle) {
        // The same angles in another unit: no edit. Changes recorded before keep their own unit and are
        // converted when undone.
        {
            const auto notAnEdit = host().document().history().quiet();
            setControlText(control("efAngle"), fromLatin1(change.vehicle->front));
            setControlText(control("erAngle"), fromLatin1(change.vehicle->rear));
        }
        host().document().history().resync();
    }
    if (change.ghost) {
        setControlText(control("gefAngle"), fromLatin1(change.ghost->front));
        setControlText(control("gerAngle"), fromLatin1(change.ghost->rear));
    }
}

} // namespace qora::gui
