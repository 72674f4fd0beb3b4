#include "gui/framework/messageseam.h"

#include <atomic>
#include <cstdio>
#include <mutex>

namespace {

class StandardErrorSeam final : public MessageSeam {
public:
    void show(const MessageBoxRequest& request) override {
        const std::lock_guard lock(mutex_);
        const QByteArray line = (request.title + QStringLiteral(": ") + request.text).toUtf8();
        std::fprintf(stderr, "%s\n", line.constData());
    }

private:
    std::mutex mutex_;
};

StandardErrorSeam standardErrorSeam;
std::atomic<MessageSeam*> installed{nullptr};

} // namespace

MessageSeam& messageSeam() {
    MessageSeam* seam = installed.load();
    return seam ? *seam : standardErrorSeam;
}

void setMessageSeam(MessageSeam* seam) {
    installed.store(seam);
}
