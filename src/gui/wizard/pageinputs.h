#pragma once
// The run's inputs read from the live controls of the three wizard pages, at
// the moment the run asks: the job list of step 1, the text and notice options
// of step 2, the output folder and save box of step 3. Used on the thread of
// the windows only, where the run's loop is.

#include "core/stamping/stampinginputs.h"

class PageInputs final : public StampingInputs {
public:
    bool saveAsDefault() override;
    // Stores the ten options as the controls hold them, the output folder as typed.
    bool saveCurrentOptions() override;
    std::function<bool()> currentOptionsWriter() override;

    QString outputFolder() override;
    void setOutputFolder(const QString& folder) override;

    bool useTypedText() override;
    QString typedText() override; // CR LF line breaks
    QString textFilePath() override;

    int rowCount() override; // the header row included
    QString rowPath(int row) override;
    bool rowRemoved(int row) override;

    NoticeChoice notice() override;
    // The stored key meta, as read when the wizard was entered.
    bool copyrightInMetadata() override;
    // The stored key keepq, as read when the wizard was entered.
    bool keepQuality() override;
};
