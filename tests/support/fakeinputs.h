#pragma once
// A job as the pages would hold it, answering the run's questions, and a
// progress recorder.

#include "core/stamping/stampinginputs.h"
#include "core/stamping/stampingprogress.h"

#include <QStringList>
#include <utility>
#include <vector>

struct FakeRow {
    QString path;
    bool removed = false;
};

class FakeInputs final : public StampingInputs {
public:
    bool save = false;
    int saveCalls = 0;
    QString folderWhenSaved;
    QString folder;
    bool typed = true;
    QString text = QStringLiteral("(C) Test");
    QString textFile;
    std::vector<FakeRow> rows; // entries only; the header row is added
    NoticeChoice noticeChoice;

    bool saveAsDefault() override { return save; }
    bool saveSucceeds = true;
    bool saveCurrentOptions() override {
        ++saveCalls;
        folderWhenSaved = folder;
        return saveSucceeds;
    }
    QString outputFolder() override { return folder; }
    void setOutputFolder(const QString& f) override { folder = f; }
    bool useTypedText() override { return typed; }
    QString typedText() override { return text; }
    QString textFilePath() override { return textFile; }
    int rowCount() override { return static_cast<int>(rows.size()) + 1; }
    QString rowPath(int row) override { return rows.at(row - 1).path; }
    bool rowRemoved(int row) override { return rows.at(row - 1).removed; }
    NoticeChoice notice() override { return noticeChoice; }
    bool keepQualityChoice = false;
    bool keepQuality() override { return keepQualityChoice; }
};

class ProgressRecorder final : public StampingProgress {
public:
    int yieldsLeft = -1; // -1: never stop
    int started = 0;
    std::vector<std::pair<int, int>> counters; // (left, done) per processed file
    QStringList sources;
    std::vector<int> steps;

    bool yield() override { return yieldsLeft < 0 || yieldsLeft-- > 0; }
    void processingStarted() override { ++started; }
    void fileCounters(const QString& source, int left, int done) override {
        sources.append(source);
        counters.emplace_back(left, done);
    }
    void fileStep(int value, int maximum) override {
        if (maximum == 3)
            steps.push_back(value);
    }
};
