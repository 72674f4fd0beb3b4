// The libFuzzer entry of one target; FUZZ_TARGET names its function.
#include "fuzztargets.h"

#include <QGuiApplication>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    // the notice needs fonts, which need a (headless) application object
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return FUZZ_TARGET(data, size);
}
