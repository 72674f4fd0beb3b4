// The windows during a run through "Copyright setzen": how long the event loop
// goes unserved while a 24-megapixel picture gets its visible notice, and how
// long a batch of 2-megapixel pictures with the notice takes through step 3
// (compared with stampora-cli by compare.sh).
// Run: ./build/bench/stampora_window_bench (offscreen unless a display is set).
// STAMPORA_BENCH_BATCH names a folder of JPEGs for the batch (else 64 are made).
#include "app/pageregistry.h"
#include "core/base/programfolder.h"
#include "gui/framework/messageseam.h"
#include "gui/framework/pagedirectory.h"
#include "gui/wizard/form11.h"
#include "gui/wizard/form2.h"
#include "gui/wizard/form3.h"
#include "gui/wizard/wizardpages.h"
#include "step3run.h"
#include "testpattern.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QLineEdit>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <sys/resource.h>

namespace {

class QuietMessages final : public MessageSeam {
public:
    void show(const MessageBoxRequest&) override {}
};

// Processor time of the whole process (every thread) in ms.
double processorMs() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
}

// The longest time between two ticks of a 5 ms timer while `work` runs: the
// window's longest pause, 5 ms included (a timer of 0 ms would take a core).
template <class Work> qint64 longestGapWhile(Work work) {
    QElapsedTimer sinceTick;
    qint64 gap = 0;
    QTimer tick;
    tick.setTimerType(Qt::PreciseTimer);
    tick.setInterval(5);
    QObject::connect(&tick, &QTimer::timeout, [&] { gap = std::max(gap, sinceTick.restart()); });
    sinceTick.start();
    tick.start();
    work();
    tick.stop();
    return std::max(gap, sinceTick.elapsed());
}

// The floor: the same measure while the window has nothing to do (what a busy
// machine adds).
void BM_LongestEventLoopGapIdle(benchmark::State& state) {
    double longest = 0;
    for (auto _ : state)
        longest = std::max(longest, static_cast<double>(longestGapWhile([] {
                               QEventLoop loop;
                               QTimer::singleShot(3000, &loop, &QEventLoop::quit);
                               loop.exec();
                           })));
    state.counters["longest_gap_ms"] = longest;
}
BENCHMARK(BM_LongestEventLoopGapIdle)->Unit(benchmark::kMillisecond)->Iterations(1);

// The job list holds `sources`; the notice on, enlarge mode, written over the copy.
void prepareStep3(const QStringList& sources, const QString& output) {
    form11().jobList().add(sources);
    form2().Check1->setChecked(true);
    form2().Option3->setChecked(true);
    form2().Option6->setChecked(true);
    form3().Text1->setText(output);
    form3().show(); // its progress painted as a user sees it
}

void BM_LongestEventLoopGapDuringBigPicture(benchmark::State& state) {
    QTemporaryDir folder;
    setProgramFolder(folder.path());
    const QString source = folder.filePath(QStringLiteral("big.jpg"));
    naturalPatternPicture(6000, 4000).save(source, "JPEG", 90);
    QuietMessages messages;
    setMessageSeam(&messages);
    prepareStep3({source}, folder.filePath(QStringLiteral("out")));

    double longest = 0;
    for (auto _ : state)
        longest = std::max(longest, static_cast<double>(longestGapWhile(runStep3)));
    state.counters["longest_gap_ms"] = longest;
    setMessageSeam(nullptr);
    destroyPages();
    setProgramFolder({});
}
BENCHMARK(BM_LongestEventLoopGapDuringBigPicture)->Unit(benchmark::kMillisecond)->Iterations(3);

// The batch through step 3: the run's own time from the click to its end (a
// user's window is open already), its processor time and the longest pause.
void BM_WindowRunOfTheBatch(benchmark::State& state) {
    QTemporaryDir folder;
    setProgramFolder(folder.path());
    QString batch = qEnvironmentVariable("STAMPORA_BENCH_BATCH");
    if (batch.isEmpty()) {
        batch = folder.filePath(QStringLiteral("batch"));
        QDir().mkpath(batch);
        const QImage picture = naturalPatternPicture(1600, 1200);
        for (int i = 1; i <= 64; ++i)
            picture.save(QStringLiteral("%1/photo-%2.jpg").arg(batch).arg(i, 2, 10, QChar('0')),
                         "JPEG", 92);
    }
    QStringList sources;
    for (const QString& name : QDir(batch).entryList({QStringLiteral("*.jpg")}, QDir::Files))
        sources << QDir(batch).filePath(name);
    QuietMessages messages;
    setMessageSeam(&messages);
    prepareStep3(sources, folder.filePath(QStringLiteral("out")));

    double runMs = 0, cpuMs = 0, longest = 0;
    for (auto _ : state) {
        QElapsedTimer run;
        const double cpuBefore = processorMs();
        run.start();
        longest = std::max(longest, static_cast<double>(longestGapWhile(runStep3)));
        runMs = static_cast<double>(run.nsecsElapsed()) / 1e6;
        cpuMs = processorMs() - cpuBefore;
    }
    state.counters["files"] = static_cast<double>(sources.size());
    state.counters["run_ms"] = runMs;
    state.counters["cpu_ms"] = cpuMs;
    state.counters["longest_gap_ms"] = longest;
    setMessageSeam(nullptr);
    destroyPages();
    setProgramFolder({});
}
BENCHMARK(BM_WindowRunOfTheBatch)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home; // settings and data of the run stay out of the user's
    qputenv("XDG_CONFIG_HOME", (home.path() + "/config").toUtf8());
    qputenv("XDG_DATA_HOME", (home.path() + "/data").toUtf8());
    QApplication app(argc, argv);
    registerPages();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
