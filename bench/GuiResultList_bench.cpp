// The result list of the main window as it grows: the cost of one more
// number (append, scroll into view, repaint) with N numbers already shown.
#include "app/MainWindow.h"
#include "app/NumberListModel.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

namespace {

QApplication& Application() {
    static int argc = 1;
    static char name[] = "bench";
    static char* argv[] = {name, nullptr};
    static QApplication* application = [] {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        return new QApplication(argc, argv);
    }();
    return *application;
}

void AppendOneMoreNumber(benchmark::State& state) {
    Application();
    tavrisk::app::TForm1 form;
    form.show();
    const auto shown = static_cast<int>(state.range(0));
    {
        tavrisk::app::NumberListModel::Batch batch(*form.ListModel);
        for (int i = 0; i < shown; ++i) {
            form.ListModel->Append("020" + std::to_string(10000000 + i));
        }
    }
    QApplication::processEvents();
    for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores): the benchmark loop idiom
        form.ListModel->Append("02099999999");
        QApplication::processEvents();
    }
    state.counters["rows"] = static_cast<double>(form.ListModel->Count());
}

BENCHMARK(AppendOneMoreNumber)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
