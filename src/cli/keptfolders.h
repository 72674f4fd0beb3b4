#pragma once
// --keep-folders BASE: each output goes below the output folder at the place its
// source has below BASE, so a tree of folders keeps its shape.

#include <QString>

class KeptFolders {
public:
    // `base` must name a folder.
    explicit KeptFolders(const QString& base);

    // The folder of `source` relative to the base, ending in "/" (empty when the
    // source lies in the base itself). False with a German reason when the
    // source lies outside the base, by its name and with links resolved.
    bool subfolderOf(const QString& source, QString* subfolder, QString* reason) const;

private:
    QString base_;
    QString workingFolder_;
    QString absoluteBase_;  // the name made absolute and cleaned, links kept
    QString canonicalBase_; // links resolved
};
