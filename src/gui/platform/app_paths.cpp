#include "platform/app_paths.h"

#include <optional>

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

#include "platform/file_system.h"
#include "platform/qt_text.h"
#include "settings/program_folder.h"

namespace qora::gui {

std::string programFolder() {
    std::optional<std::string> home;
    if (qEnvironmentVariableIsSet("QORA_HOME"))
        home = toPath(qEnvironmentVariable("QORA_HOME"));
    // Windows users find QORA's files in %APPDATA%\QORA, where its Windows programs keep them.
    const std::string data = windowsUserDataFolder().value_or(
        toPath(QDir::toNativeSeparators(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))));
    return resolveProgramFolder(home, toPath(QDir::toNativeSeparators(QCoreApplication::applicationDirPath())), data);
}

std::string registryFilePath() {
    const QString config = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    return joinPath(toPath(QDir::toNativeSeparators(config)), "registry.ini");
}

} // namespace qora::gui
