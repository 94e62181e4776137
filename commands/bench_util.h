#pragma once
// What the benchmarks of the transforms share: their texts (bench_texts.h),
// throughput in UTF-16 bytes, and the two ways a command's transform runs (in
// place on its own copy, or into memory kept from the last run).
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>

#include "commands/bench_texts.h"

namespace quill::commands::bench {

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
