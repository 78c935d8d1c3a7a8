// The window on large folders, offscreen: Select All on 10,000 entries against filling the
// list, and a batch of 4,000 songs against the command-line tool's default on the same songs.
#include "BenchSupport.h"
#include "ui/qt/TextBytes.h"
#include "ui/qt/frm.h"

#include <QApplication>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <filesystem>

namespace {

namespace fs = std::filesystem;
using bench::Clock;
using bench::Since;

// Songs of a fixed size.
std::vector<std::string> WriteSongs(const std::string& folder, int count, std::size_t size)
{
    return bench::WriteSongs(folder, count, [size](std::uint32_t) { return size; });
}

// Presses OK on every message box, as a patient user would.
void AnswerBoxes(QTimer& timer)
{
    QObject::connect(&timer, &QTimer::timeout, [] {
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (auto* box = qobject_cast<QMessageBox*>(widget); box && box->isVisible())
                box->button(QMessageBox::Ok)->click();
    });
    timer.start(5);
}

void BM_SelectAllAgainstFillingTheList(benchmark::State& state)
{
    char pattern[] = "/tmp/brivane-bench-XXXXXX";
    const std::string root = ::mkdtemp(pattern);
    std::vector<std::string> names;
    for (const std::string& path : WriteSongs(root, 10000, 4))
        names.push_back(fs::path(path).filename().string());
    brivane::frm window(QString::fromStdString(root + "/Brivane.ini"), QString::fromStdString(root));
    auto* list = window.findChild<QListWidget*>("File");
    auto* selectAll = window.findChild<QPushButton*>("cmdSelectAll");
    double fill = 0;
    double select = 0;
    for (auto _ : state) {
        auto start = Clock::now();
        list->clear(); // as the window fills it
        for (const std::string& name : names)
            list->addItem(brivane::ToText(name));
        fill += Since(start);
        start = Clock::now();
        selectAll->click();
        const double once = Since(start);
        select += once;
        state.SetIterationTime(once);
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["select_ms"] = 1000 * select / n;
    state.counters["fill_ms"] = 1000 * fill / n;
    state.counters["ratio"] = select / fill;
    fs::remove_all(root);
}
BENCHMARK(BM_SelectAllAgainstFillingTheList)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);

double RunCli(const std::vector<std::string>& paths)
{
    std::vector<std::string> argv{BRIVANE_CLI_PATH, "convert", "--tics", "280"};
    argv.insert(argv.end(), paths.begin(), paths.end());
    return bench::RunQuietly(argv);
}

void BM_WindowBatchAgainstCli(benchmark::State& state)
{
    char pattern[] = "/tmp/brivane-bench-XXXXXX";
    const std::string root = ::mkdtemp(pattern);
    QTimer answerer;
    AnswerBoxes(answerer);
    double windowSeconds = 0;
    double cliSeconds = 0;
    for (auto _ : state) {
        WriteSongs(root + "/window", 4000, 4000);
        const auto theirs = WriteSongs(root + "/cli", 4000, 4000);
        brivane::frm window(QString::fromStdString(root + "/window/Brivane.ini"), QString::fromStdString(root + "/window"));
        window.show();
        window.findChild<QPushButton*>("cmdSelectAll")->click();
        const auto start = Clock::now();
        window.findChild<QPushButton*>("cmdConvert")->click();
        const double once = Since(start);
        windowSeconds += once;
        cliSeconds += RunCli(theirs);
        state.SetIterationTime(once);
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["window_s"] = windowSeconds / n;
    state.counters["cli_s"] = cliSeconds / n;
    state.counters["ratio"] = windowSeconds / cliSeconds;
    fs::remove_all(root);
}
BENCHMARK(BM_WindowBatchAgainstCli)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(2);

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
