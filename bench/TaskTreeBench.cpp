// Task trees as deep as a file makes them: built node under node, listed with their depths, read
// from a task file and written to one.

#include <benchmark/benchmark.h>

#include <string>

#include "tasks/TaskFile.h"
#include "toolkit/ComCtrls.h"

namespace {

// The task file of one chain of nodes, each a level below the one before it: the deepest tree a
// file of its size can hold, the TABs in front of each line being most of the file.
std::string ChainFile(int levels)
{
    std::string text;
    for (int level = 0; level < levels; ++level)
        text.append(static_cast<size_t>(level), '\t').append("Item ").append(std::to_string(level)).append("\r\n");
    return text;
}

// A chain of levels made as Shift+Enter makes it, then every node listed with its depth, as the
// workbench does to show the tree and the command to print it; then the tree goes.
void BM_TaskTreeChain(benchmark::State& state)
{
    const int levels = static_cast<int>(state.range(0));
    for (auto _ : state) {
        tk::TreeView tree(nullptr);
        tk::TreeNode* node = nullptr;
        for (int level = 0; level < levels; ++level)
            node = tree.AddChild(node, "Sub Item1");
        long depths = 0;
        for (const tk::TreeNode* listed : tree.AllNodes())
            depths += listed->Level();
        benchmark::DoNotOptimize(depths);
    }
    state.SetItemsProcessed(state.iterations() * levels);
}
BENCHMARK(BM_TaskTreeChain)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// Reading and writing chain files of 1x, 10x and 100x the bytes (0.5, 5 and 50 MB).
constexpr int ChainLevels[] = {1000, 3162, 10000};

void BM_ReadTaskFile(benchmark::State& state)
{
    const std::string text = ChainFile(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        tk::TreeView tree(nullptr);
        std::string invalidText;
        if (!quorlin::ReadTaskFile(tree, text, invalidText))
            state.SkipWithError("the chain did not read");
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_ReadTaskFile)->Arg(ChainLevels[0])->Arg(ChainLevels[1])->Arg(ChainLevels[2])->Unit(benchmark::kMillisecond);

void BM_FormatTaskFile(benchmark::State& state)
{
    const std::string text = ChainFile(static_cast<int>(state.range(0)));
    tk::TreeView tree(nullptr);
    std::string invalidText;
    quorlin::ReadTaskFile(tree, text, invalidText);
    for (auto _ : state) {
        if (quorlin::FormatTaskFile(tree).size() != text.size())
            state.SkipWithError("the chain did not write back");
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_FormatTaskFile)->Arg(ChainLevels[0])->Arg(ChainLevels[1])->Arg(ChainLevels[2])->Unit(benchmark::kMillisecond);

}  // namespace
