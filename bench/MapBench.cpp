// The control on the real map: the hotspot search for a pointer move against Qt's own
// scene lookup, one hover change, a full repaint, and loading the map with every look.
#include "hotspot/Morvane.h"
#include "hotspot/MorvaneClasses.h"
#include "platform/StreamForm.h"

#include <QApplication>
#include <QFile>
#include <QGraphicsPolygonItem>
#include <QGraphicsScene>
#include <benchmark/benchmark.h>
#include <memory>

using namespace vandora;

namespace {

// The map control's block of the quiz window's description, as a form of its own.
QByteArray MapForm()
{
    QFile file(QStringLiteral(VANDORA_SOURCE_DIR "/app/Unit2.form"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QList<QByteArray> lines = file.readAll().split('\n');
    QByteArray block;
    bool inside = false;
    for (const QByteArray& line : lines) {
        if (line == "  object Morvane1: TMorvane")
            inside = true;
        if (inside)
            block += line.mid(2) + '\n';
        if (inside && line == "  end")
            break;
    }
    return block;
}

std::unique_ptr<TMorvane> LoadMap()
{
    RegisterMorvaneClasses();
    auto map = std::make_unique<TMorvane>();
    ReadForm(MapForm(), *map);
    return map;
}

bool MapReady(benchmark::State& state, const TMorvane& map)
{
    if (map.HotSpots().Count() == 0 || map.Picture().Empty()) {
        state.SkipWithError("the map form holds no hotspots or no picture");
        return false;
    }
    return true;
}

void HotSpotSearch(benchmark::State& state)
{
    auto map = LoadMap();
    if (!MapReady(state, *map))
        return;
    const int w = map->Width();
    const int h = map->Height();
    for (auto _ : state)
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                benchmark::DoNotOptimize(map->HotSpotAt(x, y));
    state.SetItemsProcessed(state.iterations() * w * h);
}

void SceneLookup(benchmark::State& state)
{
    auto map = LoadMap();
    if (!MapReady(state, *map))
        return;
    QGraphicsScene scene(0, 0, map->Width(), map->Height());
    for (int i = 0; i < map->HotSpots().Count(); ++i) {
        QPolygonF polygon;
        for (const TRealPoint& p : map->HotSpots().Item(i)->Shape().Points())
            polygon << QPointF(p.x, p.y);
        scene.addPolygon(polygon)->setZValue(i);
    }
    const int w = map->Width();
    const int h = map->Height();
    for (auto _ : state)
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                benchmark::DoNotOptimize(scene.items(QPointF(x, y)));
    state.SetItemsProcessed(state.iterations() * w * h);
}

void HoverChange(benchmark::State& state)
{
    auto map = LoadMap();
    if (!MapReady(state, *map))
        return;
    map->Repaint();
    const int a = 19; // Germany
    const int b = 22; // France
    int from = a, to = b;
    for (auto _ : state) {
        map->RestoreArea(from);
        map->DrawHover(to);
        std::swap(from, to);
    }
}

void FullPaint(benchmark::State& state)
{
    auto map = LoadMap();
    if (!MapReady(state, *map))
        return;
    for (int i = 0; i < map->HotSpots().Count(); ++i)
        map->HotSpots().Item(i)->SetDown(true);
    for (auto _ : state)
        map->Repaint();
}

void LoadWithLooks(benchmark::State& state)
{
    RegisterMorvaneClasses();
    const QByteArray form = FormToBinary(MapForm());
    for (auto _ : state) {
        TMorvane map;
        ReadForm(form, map);
        benchmark::DoNotOptimize(map.HotSpots().Item(0)->HoverClippedBitmap().Width());
    }
}

} // namespace

BENCHMARK(HotSpotSearch)->Unit(benchmark::kMillisecond);
BENCHMARK(SceneLookup)->Unit(benchmark::kMillisecond);
BENCHMARK(HoverChange)->Unit(benchmark::kMicrosecond);
BENCHMARK(FullPaint)->Unit(benchmark::kMicrosecond);
BENCHMARK(LoadWithLooks)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
