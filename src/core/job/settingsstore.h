#pragma once
// The per-user settings store: string values addressed by application, section
// and key. Each application is one INI file in the user's configuration folder
// ($XDG_CONFIG_HOME, default ~/.config), each section a group in it.

#include <QString>

inline constexpr char kSettingsApplication[] = "Vendrake";
inline constexpr char kSettingsSection[] = "Stampora";

class SettingsStore {
public:
    // The user's store: $XDG_CONFIG_HOME, or ~/.config when that is unset or relative.
    SettingsStore();
    // A store whose INI files lie in folder.
    explicit SettingsStore(const QString& folder);

    QString folder() const { return folder_; }
    // The INI file of one application, e.g. <folder>/Vendrake.ini.
    QString filePath(const QString& application) const;

    // The stored string, or defaultValue when the key does not exist. Never
    // creates a key or a file.
    QString GetSetting(const QString& application, const QString& section, const QString& key,
                       const QString& defaultValue) const;
    // Creates the key or replaces its value, and writes the file at once.
    // False when the file could not be written.
    bool SaveSetting(const QString& application, const QString& section, const QString& key,
                     const QString& value);

private:
    QString folder_;
};
