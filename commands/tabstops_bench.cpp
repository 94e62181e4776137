// Tabs to tab stops on texts where every character counts: tabs only, tabs
// between single characters, emoji (surrogate pairs) before each tab, and tabs
// inside one literal that spans the text. Each stays linear.
//   build/native/quill_bench --benchmark_filter='TabStops'
#include <benchmark/benchmark.h>

#include <string>

#include "commands/bench_util.h"
#include "commands/tabstops.h"

namespace {

using namespace quill::commands;

std::u16string Adversarial(int kind, size_t n) {
    static const std::u16string_view pieces[] = {u"\t", u"a\t", u"\U0001F600\t", u"\t"};
    std::u16string text = kind == 3 ? u"'" : u"";
    while (text.size() < n) text += pieces[kind];
    return text;
}

void TabStopsAdversarial(benchmark::State& state, int kind) {
    const std::u16string in = Adversarial(kind, static_cast<size_t>(state.range(0)));
    const bool keep = kind == 3;
    bench::IntoKeptMemory(state, in,
                          [keep](std::u16string_view t, std::u16string& out) { return ExpandTabsToStops(t, 4, out, keep); });
    state.SetComplexityN(state.range(0));
}
BENCHMARK_CAPTURE(TabStopsAdversarial, tabs, 0)->Range(1 << 20, 4 << 20)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);
BENCHMARK_CAPTURE(TabStopsAdversarial, char_tab, 1)->Range(1 << 20, 4 << 20)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);
BENCHMARK_CAPTURE(TabStopsAdversarial, emoji_tab, 2)->Range(1 << 20, 4 << 20)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);
BENCHMARK_CAPTURE(TabStopsAdversarial, literal_tabs, 3)->Range(1 << 20, 4 << 20)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);

}  // namespace
