#include "support/recorders.h"

MessageRecorder::MessageRecorder() {
    setMessageSeam(this);
}
MessageRecorder::~MessageRecorder() {
    setMessageSeam(nullptr);
}

void MessageRecorder::show(const MessageBoxRequest& request) {
    const std::lock_guard lock(mutex_);
    messages_.push_back(request);
}

std::vector<MessageBoxRequest> MessageRecorder::messages() const {
    const std::lock_guard lock(mutex_);
    return messages_;
}

ShellRecorder::ShellRecorder() {
    setShellSeam(this);
}
ShellRecorder::~ShellRecorder() {
    setShellSeam(nullptr);
}

DialogAnswerer::DialogAnswerer(QString a) : answer(std::move(a)) {
    setDialogSeam(this);
}
DialogAnswerer::~DialogAnswerer() {
    setDialogSeam(nullptr);
}

QString DialogAnswerer::getOpenFileName(QWidget*, const QString& title, const QString&,
                                        const QString& filter) {
    titles.append(title);
    filters.append(filter);
    return answer;
}
