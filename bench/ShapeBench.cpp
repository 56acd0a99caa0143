// The point test on one polygon of 150 vertices: inside, in the box but outside, and
// outside the box.
#include "hotspot/HotSpotShape.h"

#include <benchmark/benchmark.h>
#include <cmath>
#include <numbers>

using namespace vandora;

namespace {

// A star-like outline of 150 vertices around (200, 200) with radii 80..120.
THotSpotShape MakePolygon()
{
    TPoints points;
    for (int i = 0; i < 150; ++i) {
        const double a = 2 * std::numbers::pi * i / 150;
        const double r = (i % 2 == 0) ? 120.0 : 80.0;
        points.push_back({200 + r * std::cos(a) + 0.25, 200 + r * std::sin(a) + 0.25});
    }
    THotSpotShape shape(stPolygon);
    shape.SetPoints(points);
    return shape;
}

void PtInShape(benchmark::State& state, int x, int y, int expected)
{
    const THotSpotShape shape = MakePolygon();
    if (shape.PtInShape(x, y) != expected) {
        state.SkipWithError("unexpected point test result");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(shape.PtInShape(x, y));
}

} // namespace

BENCHMARK_CAPTURE(PtInShape, Inside, 200, 200, 1);
BENCHMARK_CAPTURE(PtInShape, OutsideInBox, 85, 85, 0);
BENCHMARK_CAPTURE(PtInShape, OutsideBox, 10, 10, 0);

BENCHMARK_MAIN();
