// Speed of the whitespace transforms that keep literals, on PL/SQL with a
// literal on about every other line, beside memcpy of the same bytes and
// today's transforms on the same text.
//   build/native/quill_bench --benchmark_filter='LiteralText|KeepingLiterals'
// Sizes are in characters; throughput counts the UTF-16 bytes read.
#include <benchmark/benchmark.h>

#include <string>

#include "commands/bench_util.h"
#include "commands/literals.h"
#include "commands/tabstops.h"
#include "commands/transforms.h"

namespace {

using namespace quill::commands;

const std::u16string& Text() {
    static const std::u16string text = bench::LiteralRichText(bench::kLarge);
    return text;
}

void LiteralTextMemcpy(benchmark::State& state) { bench::CopyOf(state, Text()); }
BENCHMARK(LiteralTextMemcpy)->Unit(benchmark::kMillisecond);

template <class Fn>
void InPlace(benchmark::State& state, Fn fn) {
    bench::InPlace(state, Text(), fn);
}
template <class Fn>
void Tabs(benchmark::State& state, Fn fn) {
    bench::IntoKeptMemory(state, Text(), fn);
}

void LiteralTextTrailingSpaces(benchmark::State& state) {
    InPlace(state, [](std::u16string& t) { return TrimTrailingSpaces(t); });
}
void LiteralTextTrailingSpacesKeepingLiterals(benchmark::State& state) {
    InPlace(state, [](std::u16string& t) { return TrimTrailingSpaces(t, {}); });
}
void LiteralTextTabs(benchmark::State& state) {
    Tabs(state, [](std::u16string_view t, std::u16string& out) { return ExpandTabs(t, 4, out); });
}
void LiteralTextTabsKeepingLiterals(benchmark::State& state) {
    Tabs(state, [](std::u16string_view t, std::u16string& out) { return ExpandTabs(t, 4, out, {}); });
}
void LiteralTextTabStops(benchmark::State& state) {
    Tabs(state, [](std::u16string_view t, std::u16string& out) { return ExpandTabsToStops(t, 4, out); });
}
void LiteralTextTabStopsKeepingLiterals(benchmark::State& state) {
    Tabs(state, [](std::u16string_view t, std::u16string& out) { return ExpandTabsToStops(t, 4, out, true); });
}
void LiteralTextBlankLines(benchmark::State& state) {
    InPlace(state, [](std::u16string& t) { return SqueezeBlankLines(t); });
}
void LiteralTextBlankLinesKeepingLiterals(benchmark::State& state) {
    InPlace(state, [](std::u16string& t) { return SqueezeBlankLines(t, {}); });
}
BENCHMARK(LiteralTextTrailingSpaces)->Unit(benchmark::kMillisecond);
BENCHMARK(LiteralTextTrailingSpacesKeepingLiterals)->Unit(benchmark::kMillisecond);
BENCHMARK(LiteralTextTabs)->Unit(benchmark::kMillisecond);
BENCHMARK(LiteralTextTabsKeepingLiterals)->Unit(benchmark::kMillisecond);
BENCHMARK(LiteralTextTabStops)->Unit(benchmark::kMillisecond);
BENCHMARK(LiteralTextTabStopsKeepingLiterals)->Unit(benchmark::kMillisecond);
BENCHMARK(LiteralTextBlankLines)->Unit(benchmark::kMillisecond);
BENCHMARK(LiteralTextBlankLinesKeepingLiterals)->Unit(benchmark::kMillisecond);

// The scan alone: every span handed out, nothing written.
void LiteralTextScanOnly(benchmark::State& state) {
    const std::u16string& in = Text();
    for (auto _ : state) {
        LiteralScanner scanner(in, {});
        size_t spans = 0;
        for (Span span; scanner.Next(span);) ++spans;
        benchmark::DoNotOptimize(spans);
    }
    bench::Bytes(state, in.size());
}
BENCHMARK(LiteralTextScanOnly)->Unit(benchmark::kMillisecond);

// The scan as the transforms take it: every position decided, window by
// window, nothing asked and nothing written.
void LiteralTextScanWindows(benchmark::State& state) {
    const std::u16string& in = Text();
    for (auto _ : state) {
        LiteralScanner scanner(in, {});
        while (scanner.More()) {
        }
        benchmark::DoNotOptimize(scanner.Decided());
    }
    bench::Bytes(state, in.size());
}
BENCHMARK(LiteralTextScanWindows)->Unit(benchmark::kMillisecond);

// Adversarial texts stay linear: n characters of quotes (doubled, so one
// literal); of spaces before a line break between two literals; of pieces that
// each open something (q-quotes, comments) that the next one closes or not.
std::u16string Adversarial(int kind, size_t n) {
    static const std::u16string_view pieces[] = {u"'", u" ", u"q'[ /* -- ]' \r\n"};
    std::u16string text = kind == 1 ? u"'a'" : u"";
    while (text.size() < n) text += pieces[kind];
    return kind == 1 ? text + u"\r\n'b'" : text;
}
void KeepingLiteralsAdversarial(benchmark::State& state, int kind) {
    const std::u16string in = Adversarial(kind, static_cast<size_t>(state.range(0)));
    bench::InPlace(state, in, [](std::u16string& t) { return TrimTrailingSpaces(t, {}); });
    state.SetComplexityN(state.range(0));
}
BENCHMARK_CAPTURE(KeepingLiteralsAdversarial, quotes, 0)->Range(1 << 20, 4 << 20)->Complexity(benchmark::oN);
BENCHMARK_CAPTURE(KeepingLiteralsAdversarial, spaces, 1)->Range(1 << 20, 4 << 20)->Complexity(benchmark::oN);
BENCHMARK_CAPTURE(KeepingLiteralsAdversarial, openers, 2)->Range(1 << 20, 4 << 20)->Complexity(benchmark::oN);

}  // namespace
