#pragma once
// The bad-input table shared by the command-line and the window tests: files a
// user may hand over, each with the outcome expected when it is stamped with
// the visible notice on.

#include <QByteArray>
#include <QString>
#include <vector>

enum class Expect {
    Stamped,       // output complete, not reported
    NoticeMissing, // the copy still gets its block; reported as failed
    Refused,       // reported as failed, no output
};

struct BadInput {
    const char* what;
    QByteArray name;     // file name in src/ (bytes)
    QByteArray contents; // null: see `folder` / not created
    bool folder = false;
    Expect expect = Expect::Stamped;
    const char* reason = ""; // part of the German reason
};

// Every case, in the order they go into the job list; `goodJpeg` is the content
// of the good pictures among them. Names are bytes (see fileNameFromBytes).
std::vector<BadInput> badInputTable(const QByteArray& goodJpeg);
