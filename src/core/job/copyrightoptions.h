#pragma once
// The copyright options of one job: what the step-2 controls, the step-1
// pattern and folder, and the step-3 output folder hold, with their start values.

#include <QString>

// The copyright text a first run shows: 268 characters, CR LF line breaks.
extern const QString kDefaultCopyrightText;
inline constexpr char kDefaultNoticeText[] = "Copyright (C) 2002 <Ihr Name>";
inline constexpr char kDefaultFilter[] = "*.jp*g;*.gif;*.png";

struct CopyrightOptions {
    QString outputFolder;   // outdir: step-3 Text1
    bool useText = true;    // typ: Option1 chosen (Option2 is the opposite)
    QString copyrightText;  // ctext: step-2 Text1
    QString copyrightFile;  // cfile: step-2 Text3
    QString noticeText;     // cjpeg: step-2 Text4
    bool noticeOn = false;  // dojpg: step-2 Check1 ticked
    bool enlarge = true;    // vtype: Option3 chosen (Option4 is the opposite)
    bool copNaming = false; // vtype2: Option5 chosen (Option6 is the opposite)
    QString filter;         // filter: step-1 Text1
    QString currentFolder;  // curpath: step-1 Dir1
    // Kept in the store but on no page (see kStoredOnlyKeys):
    bool copyrightInMetadata = false; // meta: the copyright also in EXIF, XMP and IPTC
    bool keepQuality = false;         // keepq: JPEG pictures keep their own quality

    bool operator==(const CopyrightOptions&) const = default;
};

// The start values of every control: output folder "img" in the writable
// program folder, "copyright.txt" in the program folder, the default texts and
// pattern, and the process's current working directory.
CopyrightOptions startOptions();
