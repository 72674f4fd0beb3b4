// The windows during a run: how long the event loop goes unserved while a
// 24-megapixel picture gets its visible notice through "Copyright setzen".
// Run: ./build/bench/stampora_window_bench (offscreen unless a display is set).
#include "app/messageseam.h"
#include "app/pageregistry.h"
#include "base/programfolder.h"
#include "job/form11.h"
#include "job/form2.h"
#include "stamping/form3.h"
#include "stamping/servingevents.h"
#include "testpattern.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QImage>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <thread>

namespace {

class QuietMessages final : public MessageSeam {
public:
    void show(const MessageBoxRequest&) override {}
};

// The longest time between two turns of the event loop while `work` runs.
template <class Work> qint64 longestGapWhile(Work work) {
    QElapsedTimer sinceTurn;
    qint64 gap = 0;
    QTimer turn; // fires on every turn of the event loop
    turn.setInterval(0);
    QObject::connect(&turn, &QTimer::timeout, [&] { gap = std::max(gap, sinceTurn.restart()); });
    sinceTurn.start();
    turn.start();
    work();
    turn.stop();
    return gap;
}

// The floor: the same loop while the worker only sleeps (what a busy machine adds).
void BM_LongestEventLoopGapIdleWorker(benchmark::State& state) {
    double longest = 0;
    for (auto _ : state)
        longest = std::max(longest, static_cast<double>(longestGapWhile([] {
                               RunServingEvents(
                                   [] { std::this_thread::sleep_for(std::chrono::seconds(3)); });
                           })));
    state.counters["longest_gap_ms"] = longest;
}
BENCHMARK(BM_LongestEventLoopGapIdleWorker)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_LongestEventLoopGapDuringBigPicture(benchmark::State& state) {
    QTemporaryDir folder;
    setProgramFolder(folder.path());
    const QString source = folder.filePath(QStringLiteral("big.jpg"));
    NaturalPatternPicture(6000, 4000).save(source, "JPEG", 90);
    QuietMessages messages;
    setMessageSeam(&messages);
    Form11& step1 = form11();
    step1.jobList().add({source});
    form2().Check1->setChecked(true); // the notice: decode, compose, bitmap, encode
    form3().Text1->setText(folder.filePath(QStringLiteral("out")));

    double longest = 0;
    for (auto _ : state)
        longest = std::max(longest,
                           static_cast<double>(longestGapWhile([] { form3().Command5_Click(); })));
    state.counters["longest_gap_ms"] = longest;
    setMessageSeam(nullptr);
    destroyPages();
    setProgramFolder({});
}
BENCHMARK(BM_LongestEventLoopGapDuringBigPicture)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home; // settings and data of the run stay out of the user's
    qputenv("XDG_CONFIG_HOME", (home.path() + "/config").toUtf8());
    qputenv("XDG_DATA_HOME", (home.path() + "/data").toUtf8());
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
