#pragma once
// The drives the step-1 page browses: the mounted file systems a user keeps
// files on, "/" first, and the rule that joins a folder and a file name.

#include <QList>
#include <QString>
#include <optional>

struct Drive {
    QString rootPath;    // e.g. "/" or "/media/ich/USB"
    QString displayText; // the root path, with the volume's name in brackets when it has one
    bool operator==(const Drive&) const = default;
};

// The mounted file systems, "/" first and the rest by root path. Pseudo file
// systems (proc, sysfs, cgroup, devpts, ...), the system's own mounts under
// /proc, /sys, /dev and /run (removable media under /run/media stay), snap images and mounts that
// are not folders are left out.
QList<Drive> listDrives();

// Whether a mount with this root path and file-system type is one a user keeps
// files on.
bool isUserVolume(const QString& rootPath, const QString& fileSystemType);

// The folder to browse when the user picks a drive, or nothing when the drive
// cannot be opened (the caller then stays on its previous folder).
std::optional<QString> openDrive(const QString& rootPath);

// The drive of drives that holds folder: the one with the longest root path
// that contains it. Nothing when no drive does.
std::optional<Drive> driveOfFolder(const QList<Drive>& drives, const QString& folder);

// folder + "/" + name, with no second separator when folder already ends in one
// (the root folder "/").
QString joinFolderAndName(const QString& folder, const QString& name);
