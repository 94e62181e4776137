#include "commands/pairs.h"

#include <iterator>

namespace quill::commands {
namespace {

constexpr Pair kPairs[] = {{u'(', u')'}, {u'[', u']'}, {u'{', u'}'}, {u'\'', u'\''}, {u'"', u'"'}};

}  // namespace

const Pair* PairOf(int kind) noexcept {
    if (kind < 0 || kind >= static_cast<int>(std::size(kPairs))) return nullptr;
    return &kPairs[kind];
}

bool IsEnclosed(std::u16string_view text, int kind) noexcept {
    const Pair* pair = PairOf(kind);
    return pair && !text.empty() && text.front() == pair->open && text.back() == pair->close;
}

}  // namespace quill::commands
