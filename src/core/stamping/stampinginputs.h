#pragma once
// What a stamping run asks for, at the moment it needs it: the pages answer from
// their live controls, the command line from its options.

#include "core/stamping/noticechoice.h"

#include <QString>
#include <functional>

class StampingInputs {
public:
    virtual ~StampingInputs() = default;

    virtual bool saveAsDefault() = 0;
    // Stores the current options as the user's defaults; false when they could not be.
    virtual bool saveCurrentOptions() = 0;
    // The same store as work that may run on another thread: the options are
    // taken now, written when it is called. The windows' run writes them off
    // their thread, so a slow disk does not freeze the windows.
    virtual std::function<bool()> currentOptionsWriter() {
        return [this] { return saveCurrentOptions(); };
    }

    virtual QString outputFolder() = 0;
    // The run appends the separator to the field itself, so the user sees it.
    virtual void setOutputFolder(const QString& folder) = 0;

    virtual bool useTypedText() = 0; // else the text file
    virtual QString typedText() = 0;
    virtual QString textFilePath() = 0;

    // The job list: rows 1 .. rowCount() - 1 are entries; row 0 is the header.
    virtual int rowCount() = 0;
    virtual QString rowPath(int row) = 0;
    virtual bool rowRemoved(int row) = 0;
    // Where the row's output goes: the output folder itself (empty, the
    // default), or a folder below it, relative and ending in "/". False with a
    // German reason when the row has no place there; that row alone fails.
    virtual bool rowOutputSubfolder(int /*row*/, QString* /*subfolder*/, QString* /*reason*/) {
        return true;
    }

    // Read again for every file.
    virtual NoticeChoice notice() = 0;

    // Read once at the start. A re-encoded picture keeps the source's EXIF,
    // XMP, IPTC, colour profile, density and comments unless this is false.
    virtual bool keepMetadata() { return true; }
    // The copyright text also goes into EXIF, XMP and IPTC of every output.
    virtual bool copyrightInMetadata() { return false; }
    // JPEG pictures get the notice in their own quality (see StampRequest).
    virtual bool keepQuality() { return false; }
};
