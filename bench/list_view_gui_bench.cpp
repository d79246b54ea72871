// A list of 100,000 rows and 5 columns (the size of search hits and findings on real
// projects) rendered by the desktop IDE's list binding: filling it up to the first paint,
// and sorting it by a column up to the next paint.
#include "controls/form.h"
#include "controls/list_view.h"
#include "gui/form_view.h"
#include "gui/units.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <memory>

using namespace controls;

namespace {

constexpr int kRows = 100000;
constexpr int kColumns = 5;

QApplication &app()
{
    static QApplication *instance = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "list_view_gui_bench";
        static char *argv[] = {name, nullptr};
        auto *created = new QApplication(argc, argv);
        gui::applyClassicLook(*created);
        return created;
    }();
    return *instance;
}

/// A report list on a form, shown in a FormView the size of the tool window's list.
struct Shown {
    Form form{QStringLiteral("frmBench")};
    ListView list{QStringLiteral("lvwBench")};
    std::unique_ptr<gui::FormView> view;

    Shown()
    {
        app();
        form.move(0, 0, 12000, 9000);
        list.setContainer(&form);
        list.move(0, 0, 12000, 9000);
        list.setView(ListViewView::Report);
        list.setFullRowSelect(true);
        for (const char *title : {"Module", "Procedure", "Line", "Text", "Project"})
            list.columnHeaders().add(0, {}, QString::fromLatin1(title), 1800);
        view = std::make_unique<gui::FormView>(form);
        view->resize(800, 600);
        view->show();
        paint();
    }

    /// What a search writes: a row per hit, every column set. With `progressEvery`, the
    /// event loop runs every that many rows, as DoEvents in a progress update does.
    void fill(int progressEvery = 0)
    {
        ListItems &items = list.listItems();
        for (int r = 0; r < kRows; ++r) {
            if (progressEvery && r % progressEvery == 0)
                QCoreApplication::processEvents();
            // Module names repeat and interleave, as hits of many modules do.
            const int module = (r * 7919) % 997;
            ListItem *item = items.add(0, {}, QStringLiteral("Module%1").arg(module));
            item->setSubItem(1, QStringLiteral("Proc%1").arg((r * 31) % 5003));
            item->setSubItem(2, QString::number(r % 40000 + 1));
            item->setSubItem(3, QStringLiteral("    Call DoSomething(strName, %1)").arg(r));
            item->setSubItem(4, QStringLiteral("Project%1").arg(r % 3));
        }
    }

    /// Runs what waits for the event loop and paints the list once, as the screen would.
    void paint()
    {
        QCoreApplication::processEvents();
        view->flush();
        QCoreApplication::processEvents();
        QWidget *w = view->widgetFor(list);
        QImage image(w->size(), QImage::Format_ARGB32_Premultiplied);
        QPainter painter(&image);
        w->render(&painter);
        benchmark::DoNotOptimize(image.constBits());
    }
};

/// A new list filled and painted once per iteration; `progressEvery` as in fill().
void fillAndPaint(benchmark::State &state, int progressEvery)
{
    for (auto _ : state) {
        state.PauseTiming();
        auto shown = std::make_unique<Shown>();
        state.ResumeTiming();
        shown->fill(progressEvery);
        shown->paint();
        state.PauseTiming();
        shown.reset();
        state.ResumeTiming();
    }
    state.counters["rows"] = kRows;
}

void BM_ListFillAndFirstPaint(benchmark::State &state)
{
    fillAndPaint(state, 0);
}
BENCHMARK(BM_ListFillAndFirstPaint)->Unit(benchmark::kMillisecond)->Iterations(3);

/// The same fill reporting progress every 1,000 rows: the view is painted while it grows.
void BM_ListFillWithProgressAndFirstPaint(benchmark::State &state)
{
    fillAndPaint(state, 1000);
}
BENCHMARK(BM_ListFillWithProgressAndFirstPaint)->Unit(benchmark::kMillisecond)->Iterations(1);

/// The result list's column click: sort key, order and Sorted set, then the next paint.
void BM_ListSortByColumn(benchmark::State &state)
{
    Shown shown;
    shown.fill();
    shown.paint();
    int column = 0;
    for (auto _ : state) {
        column = (column + 1) % kColumns;
        shown.list.setSortKey(column);
        shown.list.setSortOrder(column % 2 ? SortOrder::Descending : SortOrder::Ascending);
        shown.list.setSorted(true);
        // A column-click handler goes on to read the list (here its first row).
        benchmark::DoNotOptimize(shown.list.listItems()(1));
        shown.paint();
    }
    state.counters["rows"] = kRows;
}
BENCHMARK(BM_ListSortByColumn)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

BENCHMARK_MAIN();
