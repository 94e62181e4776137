// Times the whitespace transforms as a Windows program of the tree's
// architecture runs them (the benchmark library is not cross-compiled): the
// 32-bit figures come from the x86 tree, run under 32-bit Wine.
//   scripts/wine-run build/x86/quill_timing.exe [MEBI_CHARACTERS]
// The literal-rich PL/SQL of the benchmarks (bench_texts.h), 16 Mi characters
// unless given; each figure is the median of seven runs, in milliseconds. The
// conversions from and to the ANSI code page are what a command adds around
// its transform; the second column adds them.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "commands/bench_texts.h"
#include "commands/tabstops.h"
#include "commands/transforms.h"

namespace {

using namespace quill::commands;

template <class Fn>
double MedianMs(Fn fn) {
    std::vector<double> ms;
    for (int i = 0; i < 7; ++i) {
        const auto start = std::chrono::steady_clock::now();
        fn();
        ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    const size_t mebi = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 16;
    const std::u16string text = bench::LiteralRichText(mebi << 20);
    std::u16string work, out;
    std::string ansi(text.size() * 2, '\0');
    const auto wide = reinterpret_cast<const wchar_t*>(text.data());
    const int n = static_cast<int>(text.size());
    const int ansiLength = WideCharToMultiByte(CP_ACP, 0, wide, n, ansi.data(), static_cast<int>(ansi.size()), nullptr, nullptr);
    std::wstring back(text.size(), L'\0');
    const struct {
        const char* name;
        double ms;
    } rows[] = {
        {"memcpy of the text", MedianMs([&] { work.assign(text); })},
        {"ANSI to UTF-16 (MultiByteToWideChar)",
         MedianMs([&] { MultiByteToWideChar(CP_ACP, 0, ansi.data(), ansiLength, back.data(), n); })},
        {"UTF-16 to ANSI (WideCharToMultiByte)", MedianMs([&] {
             WideCharToMultiByte(CP_ACP, 0, wide, n, ansi.data(), static_cast<int>(ansi.size()), nullptr, nullptr);
         })},
        {"Remove trailing spaces", MedianMs([&] { work.assign(text), TrimTrailingSpaces(work); })},
        {"Remove trailing spaces, keeping literals", MedianMs([&] { work.assign(text), TrimTrailingSpaces(work, {}); })},
        {"Replace tab by spaces", MedianMs([&] { ExpandTabs(text, 4, out); })},
        {"Replace tab by spaces, keeping literals", MedianMs([&] { ExpandTabs(text, 4, out, {}); })},
        {"Replace tab by spaces, TabStops", MedianMs([&] { ExpandTabsToStops(text, 4, out); })},
        {"Replace tab by spaces, TabStops, keeping literals", MedianMs([&] { ExpandTabsToStops(text, 4, out, true); })},
        {"Remove blank lines", MedianMs([&] { work.assign(text), SqueezeBlankLines(work); })},
        {"Remove blank lines, keeping literals", MedianMs([&] { work.assign(text), SqueezeBlankLines(work, {}); })},
    };
    // A command converts the text from ANSI, transforms it and converts it back.
    const double conversions = rows[1].ms + rows[2].ms;
    std::printf("%zu-bit, %zu Mi characters (%zu MiB in UTF-16), median of 7, ms; then with the conversions:\n",
                sizeof(void*) * 8, mebi, mebi * 2);
    for (size_t i = 0; i < std::size(rows); ++i)
        std::printf(i < 3 ? "%-52s %8.1f\n" : "%-52s %8.1f %8.1f\n", rows[i].name, rows[i].ms, rows[i].ms + conversions);
    return 0;
}
