#include "core/job/savedoptions.h"

#include "core/job/settingscodec.h"

#include <QDir>
#include <QFileInfo>

namespace {
class OptionReader {
public:
    explicit OptionReader(const SettingsStore& store) : store_(store) {}

    QString text(const char* key, const QString& current) const {
        return store_.GetSetting(QString::fromLatin1(kSettingsApplication),
                                 QString::fromLatin1(kSettingsSection), QString::fromLatin1(key),
                                 current);
    }
    bool boolean(const char* key, bool current) const {
        return decodeBoolean(text(key, encodeBoolean(current))).value_or(current);
    }
    bool checkState(const char* key, bool current) const {
        return decodeCheckState(text(key, encodeCheckState(current))).value_or(current);
    }

private:
    const SettingsStore& store_;
};

bool isUsableFolder(const QString& path) {
    const QFileInfo info(path);
    return QDir::isAbsolutePath(path) && info.isDir();
}
} // namespace

CopyrightOptions loadOptions(const CopyrightOptions& startValues, const SettingsStore& store) {
    const OptionReader read(store);
    CopyrightOptions options = startValues;
    // An empty output folder would send the output to the file-system root.
    options.outputFolder = read.text(SettingsKey::outdir, startValues.outputFolder);
    if (options.outputFolder.isEmpty())
        options.outputFolder = startValues.outputFolder;
    options.useText = read.boolean(SettingsKey::typ, startValues.useText);
    options.copyrightText = read.text(SettingsKey::ctext, startValues.copyrightText);
    options.copyrightFile = read.text(SettingsKey::cfile, startValues.copyrightFile);
    options.noticeText = read.text(SettingsKey::cjpeg, startValues.noticeText);
    options.noticeOn = read.checkState(SettingsKey::dojpg, startValues.noticeOn);
    options.enlarge = read.boolean(SettingsKey::vtype, startValues.enlarge);
    options.copNaming = read.boolean(SettingsKey::vtype2, startValues.copNaming);
    options.filter = read.text(SettingsKey::filter, startValues.filter);
    const QString folder = read.text(SettingsKey::curpath, startValues.currentFolder);
    options.currentFolder = isUsableFolder(folder) ? folder : startValues.currentFolder;
    for (const StoredOnlyKey& stored : kStoredOnlyKeys)
        options.*stored.option = read.boolean(stored.key, startValues.*stored.option);
    return options;
}

QList<std::pair<QString, QString>> optionsAsSettings(const CopyrightOptions& options) {
    const auto key = [](const char* name) { return QString::fromLatin1(name); };
    return {
        {key(SettingsKey::outdir), options.outputFolder},
        {key(SettingsKey::typ), encodeBoolean(options.useText)},
        {key(SettingsKey::ctext), options.copyrightText},
        {key(SettingsKey::cfile), options.copyrightFile},
        {key(SettingsKey::cjpeg), options.noticeText},
        {key(SettingsKey::dojpg), encodeCheckState(options.noticeOn)},
        {key(SettingsKey::vtype), encodeBoolean(options.enlarge)},
        {key(SettingsKey::vtype2), encodeBoolean(options.copNaming)},
        {key(SettingsKey::filter), options.filter},
        {key(SettingsKey::curpath), options.currentFolder},
    };
}

namespace {

bool saveKeys(const CopyrightOptions& options, SettingsStore& store, bool withFileChoice,
              bool withStoredOnly) {
    QList<std::pair<QString, QString>> settings = optionsAsSettings(options);
    if (withStoredOnly)
        for (const StoredOnlyKey& stored : kStoredOnlyKeys)
            settings.append(
                {QString::fromLatin1(stored.key), encodeBoolean(options.*stored.option)});
    bool saved = true;
    for (const auto& [key, value] : settings) {
        if (!withFileChoice && (key == QLatin1String(SettingsKey::filter) ||
                                key == QLatin1String(SettingsKey::curpath)))
            continue;
        saved = store.SaveSetting(QString::fromLatin1(kSettingsApplication),
                                  QString::fromLatin1(kSettingsSection), key, value) &&
                saved;
    }
    return saved;
}

} // namespace

bool SaveCurrentOptions(const CopyrightOptions& options, SettingsStore store) {
    return saveKeys(options, store, true, false);
}

bool saveRunOptions(const CopyrightOptions& options, SettingsStore store) {
    return saveKeys(options, store, false, true);
}
