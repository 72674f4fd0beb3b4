#pragma once
// Recorders for the seams: installed for the life of the object, they keep what
// the program asked for instead of opening a box, a dialog or a browser.

#include "gui/framework/dialogseam.h"
#include "gui/framework/messageseam.h"
#include "gui/framework/shellseam.h"

#include <QStringList>
#include <mutex>
#include <vector>

class MessageRecorder final : public MessageSeam {
public:
    MessageRecorder();
    ~MessageRecorder() override;
    void show(const MessageBoxRequest& request) override;
    std::vector<MessageBoxRequest> messages() const;

private:
    mutable std::mutex mutex_;
    std::vector<MessageBoxRequest> messages_;
};

class ShellRecorder final : public ShellSeam {
public:
    ShellRecorder();
    ~ShellRecorder() override;
    void open(const QString& target) override { targets.append(target); }
    QStringList targets;
};

// Answers every open-file dialog with `answer` (empty: the user cancels).
class DialogAnswerer final : public DialogSeam {
public:
    explicit DialogAnswerer(QString answer);
    ~DialogAnswerer() override;
    QString getOpenFileName(QWidget* parent, const QString& title, const QString& directory,
                            const QString& filter) override;
    QString answer;
    QStringList titles;
    QStringList filters;
};
