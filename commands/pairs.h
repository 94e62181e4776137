#pragma once
// The five pairs the bracket and quote commands put around or take from the
// selection, by pair kind: 0 (), 1 [], 2 {}, 3 '', 4 "".
#include <string_view>

namespace quill::commands {

struct Pair {
    char16_t open;
    char16_t close;
};

// The pair of a kind, or null for a kind outside 0 to 4.
const Pair* PairOf(int kind) noexcept;

// True when text starts with the kind's open and ends with its close character.
// A single quote character is enclosed by itself (kinds 3 and 4); "" never is.
bool IsEnclosed(std::u16string_view text, int kind) noexcept;

}  // namespace quill::commands
