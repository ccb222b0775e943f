#include "SettingsSource.h"

#include "CliUi.h"
#include "image/ImageFile.h"
#include "image/ImageTransfer.h"

namespace vantrel::cli {

bool fetchSettingsImage(Session& session, const std::optional<std::string>& from) {
    if (!from) return image::extractImage(session.context);
    session.ui.setFileAnswer(*from);
    const bool loaded = image::loadImageFile(session.context);
    session.ui.endScript();
    return loaded;
}

// Image texts are 8-bit characters, one byte each (ISO-8859-1).
QString fromLocal(const std::string& text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

std::string toLocal(const QString& text) {
    return text.toLatin1().toStdString();
}

QJsonObject identityJson(const settings::Identity& identity) {
    QJsonObject identification;
    for (const auto& [name, text] : identity.identification)
        identification.insert(fromLocal(name), fromLocal(text));
    return QJsonObject{{"identification", identification},
                       {"softwareVersion", fromLocal(identity.softwareVersion)},
                       {"generation", fromLocal(identity.generation)},
                       {"optionCard", fromLocal(identity.optionCard)},
                       {"partTurn", identity.partTurn}};
}

QJsonArray settingsJson(const std::vector<settings::Setting>& settings) {
    QJsonArray array;
    for (const settings::Setting& setting : settings) {
        QJsonArray bytes;
        for (const auto& byte : setting.bytes)
            bytes.append(QJsonObject{{"offset", byte.offset}, {"mask", byte.mask}});
        array.append(QJsonObject{{"page", fromLocal(setting.page)},
                                 {"view", setting.view},
                                 {"name", fromLocal(setting.name)},
                                 {"value", fromLocal(setting.shown())},
                                 {"raw", fromLocal(setting.raw)},
                                 {"bytes", bytes},
                                 {"changeable", setting.changeable},
                                 {"identity", setting.identity}});
    }
    return array;
}

QJsonObject differenceJson(const settings::Difference& difference) {
    QJsonArray settings;
    for (const auto& setting : difference.settings)
        settings.append(QJsonObject{{"setting", fromLocal(setting.key)},
                                    {"a", fromLocal(setting.a)},
                                    {"b", fromLocal(setting.b)}});
    QJsonArray bytes;
    for (const auto& byte : difference.bytes)
        bytes.append(QJsonObject{{"area", fromLocal(std::string(byte.area))},
                                 {"offset", byte.offset},
                                 {"a", byte.a},
                                 {"b", byte.b}});
    return QJsonObject{{"settings", settings}, {"bytes", bytes}};
}

QJsonObject settingsDocument(Session& session, const std::vector<settings::Setting>& settings) {
    return QJsonObject{
        {"identity", identityJson(settings::readIdentity(session.context, settings))},
        {"settings", settingsJson(settings)}};
}

}  // namespace vantrel::cli
