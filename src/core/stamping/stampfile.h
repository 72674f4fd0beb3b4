#pragma once
// Stamping one file: the copy (or the picture with its visible notice) and the
// embedded copyright block, composed under a temporary name and renamed over the
// output path. Pure apart from the files it reads and writes, so it may run on
// several threads at once for different output paths.

#include "core/imaging/picturemetadata.h"
#include "core/stamping/fileoutcome.h"
#include "core/stamping/noticechoice.h"

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class MemoryGate;
class RunWrittenFiles;

class cDIBSection;

// Writes the composed picture somewhere on the side once it is encoded, before
// the output is written (the windows keep it as "tester.bmp"); it may take the
// buffer. False with a German reason stops the file.
using ComposedPictureWriter = std::function<bool(cDIBSection& composed, QString* error)>;

struct StampRequest {
    QString source;
    QString outputFolder; // ends with "/"
    QByteArray text;      // the copyright text, Windows-1252
    NoticeChoice notice;
    ComposedPictureWriter writeComposedPicture; // empty: none
    // A core is free beside this file's thread: a JPEG source may be decoded on
    // a second thread while the encoder follows (same bytes either way).
    bool spareCore = false;
    // Set when the file has no place in the output (a German reason): it fails
    // with it, and nothing is written.
    QString refusal = {};
    // The "-cop.jpg" pictures the run has written so far, shared by its
    // requests; a file under such a name that is not among them is never
    // replaced. Empty: no file there counts as the run's.
    std::shared_ptr<RunWrittenFiles> writtenByRun = nullptr;
    // The source's metadata kept in a re-encoded picture; the copyright, when
    // given, also written into the header of a copy.
    MetadataRequest metadata = {};
    // A JPEG source keeps its own quality: only the blocks the notice changes
    // are encoded anew. Pictures where this cannot work take the quality-100 path.
    bool keepQuality = false;
    // The run's budget of memory for pictures in flight, shared by its
    // requests: a picture waits for its share before it is decoded. Empty: none.
    std::shared_ptr<MemoryGate> memory = nullptr;
};

// The descriptors stamping one file holds open at the most: the source, a
// second reader of it while it is decoded (and one checking its stream), the
// temporary output and the lock kept on it while it is renamed.
inline constexpr int kDescriptorsPerStampedFile = 4;

// The output folder followed by the source's file name.
QString outputPathFor(const QString& outputFolder, const QString& source);

// Every path that stamping `request` reads or replaces: two requests that share
// one must run one after the other, in list order.
QStringList pathsTouchedBy(const StampRequest& request);

// Stamps one file. `onStep` (may be empty) is called with 1 when the picture
// step is done, 2 when the contents are in place, 3 when the block is written.
FileOutcome stampFile(const StampRequest& request, const std::function<void(int)>& onStep = {});
