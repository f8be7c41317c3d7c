// Putting an entry at the top of a long most-recently-used list kept in an ini file.

#include <benchmark/benchmark.h>

#include <string>

#include "BigUnit.h"
#include "services/MruEx.h"
#include "toolkit/Strings.h"

namespace {

// Each call moves an entry from deep in the list to the top, so the list keeps its length.
void BM_MruAddItem(benchmark::State& state)
{
    const int entries = static_cast<int>(state.range(0));
    quorlin::TMRUEx mru(nullptr);
    mru.SetIniName(bench::ScratchFolder() + "/History.Jmp");
    mru.SetSection("MethodJumpHistory");
    tk::Strings list;
    for (int i = 0; i < entries; ++i)
        list.Add("TForm" + std::to_string(i) + ".Button" + std::to_string(i) + "Click(Sender: TObject);");
    mru.WriteItems(list);
    int next = 0;
    for (auto _ : state) {
        mru.AddItem("MethodJumpHistory", std::string(list[entries - 1 - next]));
        next = (next + 1) % entries;
    }
    if (mru.Count() != entries)
        state.SkipWithError("the list changed its length");
}
BENCHMARK(BM_MruAddItem)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace
