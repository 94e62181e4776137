#pragma once
// What a command gives on the true (UTF-16) editor text, from the slow
// references, for the tests that check the plug-in against it.
#include <algorithm>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "commands/pairs.h"
#include "commands/reference_for_tests.h"

namespace quilltest {

// A text of the editor-kind and code-page tables, and the selections each of
// its clicks starts from (in UTF-16 units; (0, 0): nothing selected).
struct Text {
    const char* what;
    std::u16string text;
    std::vector<std::pair<size_t, size_t>> selections;
};

// Where the editor puts a selection [s, e) that Remove widens by one position
// on each side, in units of t; empty when it drops the selection. As EDIT: a
// start below 0 drops it, an end past the text stops at its end.
using Widening = std::function<std::optional<std::pair<size_t, size_t>>(size_t s, size_t e)>;
inline std::optional<std::pair<size_t, size_t>> ByOneUnit(const std::u16string& t, size_t s, size_t e) {
    if (s == 0) return std::nullopt;
    return std::make_pair(s - 1, std::min(e + 1, t.size()));
}

// What command index gives on the true text t with the selection [s, e) (whole
// characters; (0, 0) is no selection), TabPosition 4, the editor widening as
// widen says (by one UTF-16 unit, as EDIT, when none is given). Any other index
// leaves the text as it is.
inline std::u16string TrueTextResult(const std::u16string& t, size_t s, size_t e, int index,
                                     const Widening& widen = nullptr) {
    namespace ref = quill::commands::reference;
    auto around = [&](size_t from, size_t to, const std::u16string& middle) {
        return t.substr(0, from) + middle + t.substr(to);
    };
    const std::u16string sel = t.substr(s, e - s);
    switch (index) {
        case 1: return s < e ? around(s, e, ref::TrimTrailingSpaces(sel)) : ref::TrimTrailingSpaces(t);
        case 2: return ref::ExpandTabs(t, 4);
        case 3: return s < e ? around(s, e, ref::SqueezeBlankLines(sel)) : ref::SqueezeBlankLines(t);
        default: break;
    }
    if (index >= 5 && index <= 9) {
        const auto* pair = quill::commands::PairOf(index - 5);
        return around(s, e, pair->open + sel + pair->close);
    }
    if (index >= 10 && index <= 14) {
        const int kind = index - 10;
        auto inner = [](const std::u16string& x) { return x.size() > 2 ? x.substr(1, x.size() - 2) : u""; };
        if (quill::commands::IsEnclosed(sel, kind)) return around(s, e, inner(sel));
        const auto w = widen ? widen(s, e) : ByOneUnit(t, s, e);
        if (!w) return t;
        const auto [ws, we] = *w;
        const std::u16string widened = t.substr(ws, we - ws);
        return quill::commands::IsEnclosed(widened, kind) ? around(ws, we, inner(widened)) : t;
    }
    return t;
}

}  // namespace quilltest
