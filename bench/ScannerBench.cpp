// Reading a unit's lines, listing its routines and finding its implementation line.

#include <benchmark/benchmark.h>

#include "BigUnit.h"
#include "controls/ComboBoxEx.h"
#include "host/BufferCtrl.h"
#include "host/EditorText.h"
#include "host/Globals.h"
#include "services/QuorlinUnit.h"

namespace {

using bench::BigUnit;

// Arg 1: the unit with LF line breaks, read out with CR LF by the host.
void BM_ReadLine(benchmark::State& state)
{
    BigUnit& unit = BigUnit::Instance(state.range(0) != 0);
    hostapi::HostRef<hostapi::TIEditReader> reader(unit.NewReader());
    std::string line;
    for (auto _ : state) {
        quorlin::TBufferCtrl buffer(reader.Get());
        int64_t lines = 0;
        while (buffer.ReadLine(line))
            ++lines;
        benchmark::DoNotOptimize(lines);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(unit.Bytes()));
}
BENCHMARK(BM_ReadLine)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The scan as OpenUnit runs it; first arg 0 lists in source order, 1 into the sorted list; second
// arg 1 for the LF unit.
void BM_ListRoutines(benchmark::State& state)
{
    BigUnit& unit = BigUnit::Instance(state.range(1) != 0);
    quorlin::TCodeForm& form = *quorlin::CodeForm;
    form.MethodNoSortClick(state.range(0) ? form.MethodSort : form.MethodNoSort);
    hostapi::HostRef<hostapi::TIEditReader> reader(unit.NewReader());
    int32_t implementation = 0;
    int32_t nextOffset = -1;
    quorlin::FindImplementationLine(unit.Editor(), reader.Get(), implementation, &nextOffset);
    for (auto _ : state) {
        form.MethodCombo->Items().Clear();
        form.ListRoutines(unit.Editor(), reader.Get(), implementation, nextOffset);
    }
    if (form.MethodCombo->Items().Count() != unit.RoutineCount())
        state.SkipWithError("the scan missed routines");
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(unit.Bytes()));
    state.counters["routines"] = form.MethodCombo->Items().Count();
}
BENCHMARK(BM_ListRoutines)->Args({0, 0})->Args({1, 0})->Args({0, 1})->Unit(benchmark::kMillisecond);

// The search for the implementation line, which here follows 5 MB of declarations; arg 1 for the
// LF unit.
void BM_FindImplementationLine(benchmark::State& state)
{
    BigUnit& unit = BigUnit::Instance(state.range(0) != 0);
    hostapi::HostRef<hostapi::TIEditReader> reader(unit.NewReader());
    int32_t line = 0;
    for (auto _ : state) {
        if (!quorlin::FindImplementationLine(unit.Editor(), reader.Get(), line))
            state.SkipWithError("no implementation line");
    }
    state.counters["line"] = line;
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(unit.InterfaceBytes()));
}
BENCHMARK(BM_FindImplementationLine)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
