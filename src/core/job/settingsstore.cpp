#include "core/job/settingsstore.h"

#include <QDir>
#include <QSettings>
#include <QStringList>

namespace {
QString userConfigFolder() {
    const QString folder = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (!folder.isEmpty() && QDir::isAbsolutePath(folder))
        return QDir::cleanPath(folder);
    return QDir::homePath() + QStringLiteral("/.config");
}

QString settingsKey(const QString& section, const QString& key) {
    return section + QLatin1Char('/') + key;
}
} // namespace

SettingsStore::SettingsStore() : folder_(userConfigFolder()) {}

SettingsStore::SettingsStore(const QString& folder) : folder_(QDir::cleanPath(folder)) {}

QString SettingsStore::filePath(const QString& application) const {
    return folder_ + QLatin1Char('/') + application + QStringLiteral(".ini");
}

QString SettingsStore::GetSetting(const QString& application, const QString& section,
                                  const QString& key, const QString& defaultValue) const {
    const QSettings settings(filePath(application), QSettings::IniFormat);
    const QString name = settingsKey(section, key);
    if (!settings.contains(name))
        return defaultValue;
    const QVariant value = settings.value(name);
    // A hand-edited value with unquoted commas comes back as a list.
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QStringLiteral(", "));
    if (!value.canConvert<QString>())
        return defaultValue;
    return value.toString();
}

bool SettingsStore::SaveSetting(const QString& application, const QString& section,
                                const QString& key, const QString& value) {
    QDir().mkpath(folder_);
    QSettings settings(filePath(application), QSettings::IniFormat);
    settings.setValue(settingsKey(section, key), value);
    settings.sync();
    return settings.status() == QSettings::NoError;
}
