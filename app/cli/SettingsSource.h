#pragma once
// What the settings commands share: filling the image from a file or the actuator,
// and the settings, identity and differences as JSON.
#include <QJsonArray>
#include <QJsonObject>
#include <optional>
#include <string>

#include "Command.h"
#include "settings/NamedSettings.h"
#include "settings/SettingsDiff.h"

namespace vantrel::cli {

// Fills the image from the file, or, without one, extracts it from the actuator.
// False, with the failure shown, when neither worked.
bool fetchSettingsImage(Session& session, const std::optional<std::string>& from);

QJsonObject identityJson(const settings::Identity& identity);
QJsonArray settingsJson(const std::vector<settings::Setting>& settings);
QJsonObject differenceJson(const settings::Difference& difference);

// The document `settings --json` prints.
QJsonObject settingsDocument(Session& session, const std::vector<settings::Setting>& settings);

QString fromLocal(const std::string& text);
std::string toLocal(const QString& text);

}  // namespace vantrel::cli
