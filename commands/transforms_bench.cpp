// Speed of the whitespace transforms, beside memcpy of the same bytes and the
// slow repeated replacement they replace.
//   build/native/quill_bench --benchmark_filter='Transform|Memcpy|Copy|Reference'
// Sizes are in characters; throughput counts the UTF-16 bytes read.
#include <benchmark/benchmark.h>

#include <string>

#include "commands/bench_util.h"
#include "commands/reference_for_tests.h"
#include "commands/tabstops.h"
#include "commands/transforms.h"

namespace {

using namespace quill::commands;

// PL/SQL as people leave it: indentation by spaces and tabs, some lines with
// trailing spaces, runs of blank lines, comments with non-ASCII characters.
std::u16string PlsqlText(size_t chars) {
    static const char16_t* const lines[] = {
        u"CREATE OR REPLACE PACKAGE BODY billing AS",
        u"  PROCEDURE close_month(p_month IN DATE, p_user IN VARCHAR2 DEFAULT USER) IS",
        u"    l_count   PLS_INTEGER := 0;",
        u"\tl_total   NUMBER(12,2);",
        u"  BEGIN",
        u"    -- Rechnungen des Monats schließen (état « fermé »)",
        u"\tUPDATE invoices",
        u"\t   SET status = 'CLOSED', closed_by = p_user, closed_at = SYSDATE",
        u"\t WHERE period = TRUNC(p_month, 'MM')",
        u"\t   AND status IN ('OPEN', 'PENDING');",
        u"    l_count := SQL%ROWCOUNT;",
        u"    IF l_count > 0 THEN",
        u"      INSERT INTO audit_log (event, detail) VALUES ('CLOSE', TO_CHAR(l_count) || ' rows');",
        u"    END IF;",
        u"  EXCEPTION",
        u"    WHEN OTHERS THEN",
        u"      raise_application_error(-20001, 'close_month: ' || SQLERRM);",
        u"  END close_month;",
        u"END billing;",
        u"/",
    };
    return bench::TextOfLines(chars, lines);
}

const std::u16string& Realistic() {
    static const std::u16string text = PlsqlText(bench::kLarge);
    return text;
}

void Memcpy(benchmark::State& state) { bench::CopyOf(state, Realistic()); }
BENCHMARK(Memcpy)->Unit(benchmark::kMillisecond);

// A fresh copy, as any transform that changes the text has to make.
void CopyToNewString(benchmark::State& state) {
    const std::u16string& in = Realistic();
    for (auto _ : state) {
        std::u16string out(in);
        benchmark::DoNotOptimize(out.data());
    }
    bench::Bytes(state, in.size());
}
BENCHMARK(CopyToNewString)->Unit(benchmark::kMillisecond);

bool Trim(std::u16string& t) { return TrimTrailingSpaces(t); }
bool Squeeze(std::u16string& t) { return SqueezeBlankLines(t); }

void TransformTrailingSpaces(benchmark::State& state) { bench::InPlace(state, Realistic(), Trim); }
void TransformBlankLines(benchmark::State& state) { bench::InPlace(state, Realistic(), Squeeze); }
void TransformTabs(benchmark::State& state) {
    bench::IntoKeptMemory(state, Realistic(),
                          [](std::u16string_view t, std::u16string& out) { return ExpandTabs(t, 4, out); });
}
// Tabs to tab stops (TabStops=1): the columns counted as it goes.
void TransformTabStops(benchmark::State& state) {
    bench::IntoKeptMemory(state, Realistic(),
                          [](std::u16string_view t, std::u16string& out) { return ExpandTabsToStops(t, 4, out); });
}
BENCHMARK(TransformTrailingSpaces)->Unit(benchmark::kMillisecond);
BENCHMARK(TransformTabs)->Unit(benchmark::kMillisecond);
BENCHMARK(TransformTabStops)->Unit(benchmark::kMillisecond);
BENCHMARK(TransformBlankLines)->Unit(benchmark::kMillisecond);

// A text with nothing to change is only scanned: nothing is copied or moved.
template <class Fn>
void Scan(benchmark::State& state, Fn fn) {
    std::u16string clean = Realistic();
    fn(clean);
    for (auto _ : state) {
        benchmark::DoNotOptimize(fn(clean));
        benchmark::ClobberMemory();
    }
    bench::Bytes(state, clean.size());
}
void TransformTrailingSpacesUnchanged(benchmark::State& state) { Scan(state, Trim); }
void TransformBlankLinesUnchanged(benchmark::State& state) { Scan(state, Squeeze); }
BENCHMARK(TransformTrailingSpacesUnchanged)->Unit(benchmark::kMillisecond);
BENCHMARK(TransformBlankLinesUnchanged)->Unit(benchmark::kMillisecond);

// Adversarial: one run of n spaces before a line break; n CR LF pairs in a row.
std::u16string SpaceRun(size_t n) { return u"x" + std::u16string(n, u' ') + u"\r\ny"; }
std::u16string BreakRun(size_t n) {
    std::u16string text = u"x";
    for (size_t i = 0; i < n; ++i) text += u"\r\n";
    return text + u"y";
}

void TransformSpaceRun(benchmark::State& state) {
    const std::u16string in = SpaceRun(static_cast<size_t>(state.range(0)));
    bench::InPlace(state, in, Trim);
    state.SetComplexityN(state.range(0));
}
void TransformBreakRun(benchmark::State& state) {
    const std::u16string in = BreakRun(static_cast<size_t>(state.range(0)));
    bench::InPlace(state, in, Squeeze);
    state.SetComplexityN(state.range(0));
}
BENCHMARK(TransformSpaceRun)->Arg(1000000)->Arg(2000000)->Arg(4000000)->Complexity(benchmark::oN);
BENCHMARK(TransformBreakRun)->Arg(1000000)->Arg(2000000)->Arg(4000000)->Complexity(benchmark::oN);

template <class Fn>
void Run(benchmark::State& state, const std::u16string& in, Fn fn) {
    for (auto _ : state) {
        auto out = fn(in);
        benchmark::DoNotOptimize(out);
    }
    bench::Bytes(state, in.size());
}

// The repeated replacement, on sizes it can finish: 1 Mi characters of the
// same PL/SQL, and space runs of a few thousand (each space costs a pass).
void ReferenceTrailingSpaces(benchmark::State& state) {
    static const std::u16string in = PlsqlText(size_t{1} << 20);
    Run(state, in, reference::TrimTrailingSpaces);
}
void ReferenceBlankLines(benchmark::State& state) {
    static const std::u16string in = PlsqlText(size_t{1} << 20);
    Run(state, in, reference::SqueezeBlankLines);
}
void ReferenceSpaceRun(benchmark::State& state) {
    const std::u16string in = SpaceRun(static_cast<size_t>(state.range(0)));
    Run(state, in, reference::TrimTrailingSpaces);
    state.SetComplexityN(state.range(0));
}
BENCHMARK(ReferenceTrailingSpaces)->Unit(benchmark::kMillisecond);
BENCHMARK(ReferenceBlankLines)->Unit(benchmark::kMillisecond);
BENCHMARK(ReferenceSpaceRun)->Arg(2000)->Arg(4000)->Arg(8000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oNSquared);

}  // namespace
