#pragma once
// What the benchmarks of the transforms share: PL/SQL-like texts made of given
// lines, throughput in UTF-16 bytes, and the two ways a command's transform
// runs (in place on its own copy, or into memory kept from the last run).
#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <span>
#include <string>

namespace quill::commands::bench {

// Lines picked at random, a quarter of them with trailing spaces and a few
// followed by blank lines, up to chars characters.
inline std::u16string TextOfLines(size_t chars, std::span<const char16_t* const> lines) {
    std::mt19937 rng(42);
    std::u16string text;
    text.reserve(chars + 256);
    while (text.size() < chars) {
        text += lines[rng() % lines.size()];
        const unsigned r = rng() % 16;
        if (r < 4) text.append(1 + r, u' ');
        text += u"\r\n";
        if (r == 15) text += u"\r\n\r\n";
    }
    text.resize(chars);
    return text;
}

inline constexpr size_t kLarge = size_t{64} << 20;  // characters: a 64 MiB editor text

inline void Bytes(benchmark::State& state, size_t chars) {
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * chars * sizeof(char16_t)));
}

// memcpy of the text into memory it already has: the floor for any transform.
inline void CopyOf(benchmark::State& state, const std::u16string& in) {
    std::u16string out(in.size(), u'\0');
    for (auto _ : state) {
        std::memcpy(out.data(), in.data(), in.size() * sizeof(char16_t));
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    Bytes(state, in.size());
}

// The whitespace commands change their own copy of the text in place: each
// iteration first copies the input into memory kept from the last one, so the
// figure includes a memcpy.
template <class Fn>
void InPlace(benchmark::State& state, const std::u16string& in, Fn fn) {
    std::u16string work = in;
    for (auto _ : state) {
        work.assign(in);
        benchmark::DoNotOptimize(fn(work));
        benchmark::ClobberMemory();
    }
    Bytes(state, in.size());
}

// Tabs go into memory kept from the last iteration (the first result sizes it).
template <class Fn>
void IntoKeptMemory(benchmark::State& state, const std::u16string& in, Fn fn) {
    std::u16string out;
    fn(in, out);
    for (auto _ : state) {
        benchmark::DoNotOptimize(fn(in, out));
        benchmark::ClobberMemory();
    }
    Bytes(state, in.size());
}

}  // namespace quill::commands::bench
