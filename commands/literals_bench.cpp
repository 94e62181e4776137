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

// Literals plain, doubled, q-quoted and over two lines, comments of both kinds
// with quotes in them, SQL*Plus prompts and remarks; indentation by spaces and
// tabs (some tabs inside literals), trailing spaces, blank lines.
std::u16string LiteralRichText(size_t chars) {
    static const char16_t* const lines[] = {
        u"CREATE OR REPLACE PACKAGE BODY billing AS",
        u"  PROCEDURE close_month(p_month IN DATE, p_user IN VARCHAR2 DEFAULT USER) IS",
        u"    l_sql     VARCHAR2(4000) := q'[SELECT COUNT(*) FROM invoices WHERE status = 'OPEN']';",
        u"    l_note    VARCHAR2(200) := 'Month''s close by ' || USER;",
        u"\tl_total   NUMBER(12,2);",
        u"  BEGIN",
        u"    -- Rechnungen des Monats schließen (état « fermé »), don't touch 'PAID'",
        u"    /* the period is the calendar month; it's never NULL */",
        u"\tUPDATE invoices",
        u"\t   SET status = 'CLOSED', closed_by = p_user, closed_at = SYSDATE",
        u"\t WHERE period = TRUNC(p_month, 'MM')",
        u"\t   AND status IN ('OPEN', 'PENDING');",
        u"    l_count := SQL%ROWCOUNT;",
        u"    IF l_count > 0 THEN",
        u"      INSERT INTO audit_log (event, detail) VALUES ('CLOSE', TO_CHAR(l_count) || ' rows');",
        u"    END IF;",
        u"    dbms_output.put_line(nq'{Fertig:\t}' || l_count || \"Total\");",
        u"    l_msg := 'first line  \r\n\tsecond line';",
        u"  EXCEPTION",
        u"    WHEN OTHERS THEN",
        u"      raise_application_error(-20001, 'close_month: ' || SQLERRM);",
        u"  END close_month;",
        u"END billing;",
        u"/",
        u"PROMPT Don't forget the grants",
        u"REM it's done",
    };
    return bench::TextOfLines(chars, lines);
}

const std::u16string& Text() {
    static const std::u16string text = LiteralRichText(bench::kLarge);
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
