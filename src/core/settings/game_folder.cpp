#include "settings/settings.h"

namespace qora {

// Placeholder until the registry lookup lands.
std::string TSettings::GetTrevantFolder() {
    return gameFolder;
}

bool TSettings::IsAssociated() {
    return false;
}

void TSettings::AssociateVehFiles(bool, const std::string&) {}

} // namespace qora
