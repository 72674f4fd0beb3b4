#pragma once
// Loading and saving the copyright options through the settings store, under
// "Vendrake" / "Stampora", one string per key.

#include "core/job/copyrightoptions.h"
#include "core/job/settingsstore.h"

#include <QList>
#include <QString>
#include <utility>

// The ten keys, in the order they are saved.
namespace SettingsKey {
inline constexpr char outdir[] = "outdir";
inline constexpr char typ[] = "typ";
inline constexpr char ctext[] = "ctext";
inline constexpr char cfile[] = "cfile";
inline constexpr char cjpeg[] = "cjpeg";
inline constexpr char dojpg[] = "dojpg";
inline constexpr char vtype[] = "vtype";
inline constexpr char vtype2[] = "vtype2";
inline constexpr char filter[] = "filter";
inline constexpr char curpath[] = "curpath";
inline constexpr char meta[] = "meta";
inline constexpr char keepq[] = "keepq";
} // namespace SettingsKey

// Boolean options the store keeps beyond the ten: read with the others, never
// shown on a page and never written by the windows; only the command line's
// --save-defaults stores them.
struct StoredOnlyKey {
    const char* key;
    bool CopyrightOptions::*option;
};
inline constexpr StoredOnlyKey kStoredOnlyKeys[] = {
    {SettingsKey::meta, &CopyrightOptions::copyrightInMetadata},
    {SettingsKey::keepq, &CopyrightOptions::keepQuality},
};

// Reads every key with the start value as its default. A key that is missing,
// or whose value cannot be used (a Boolean that is neither word nor number, a
// dojpg other than 0/1, an empty outdir, a curpath that is not an existing
// folder), keeps its start value. A stored outdir or cfile wins over the start
// values. The stored-only keys are read after the ten. Reading writes nothing.
CopyrightOptions loadOptions(const CopyrightOptions& startValues,
                             const SettingsStore& store = SettingsStore());

// The ten key/value pairs in saving order: outdir, typ, ctext, cfile, cjpeg,
// dojpg, vtype, vtype2, filter, curpath.
QList<std::pair<QString, QString>> optionsAsSettings(const CopyrightOptions& options);

// Writes all ten keys, one SaveSetting each, in saving order. False when the
// store could not be written.
bool SaveCurrentOptions(const CopyrightOptions& options, SettingsStore store = SettingsStore());
// The same without the step-1 pattern and folder (filter, curpath), which keep
// their stored values, and with the stored-only keys: for the command line,
// which has no file list of its own to store.
bool saveRunOptions(const CopyrightOptions& options, SettingsStore store = SettingsStore());
