#include "commands/transforms.h"

#include <new>

namespace quill::commands {
namespace {

// The first c in [p, end), or end. Blocks are tested whole, without an early
// exit inside, so the compiler turns the test into vector compares.
const char16_t* Find(const char16_t* p, const char16_t* end, char16_t c) noexcept {
    constexpr ptrdiff_t kBlock = 32;
    while (end - p >= kBlock) {
        unsigned hit = 0;
        for (ptrdiff_t i = 0; i < kBlock; ++i) hit |= p[i] == c;
        if (hit) break;
        p += kBlock;
    }
    while (p < end && *p != c) ++p;
    return p;
}

size_t Count(const char16_t* p, const char16_t* end, char16_t c) noexcept {
    size_t n = 0;
    constexpr ptrdiff_t kBlock = 256;  // per-block 16-bit sums cannot overflow
    while (end - p >= kBlock) {
        uint16_t block = 0;
        for (ptrdiff_t i = 0; i < kBlock; ++i) block = static_cast<uint16_t>(block + (p[i] == c));
        n += block;
        p += kBlock;
    }
    for (; p < end; ++p) n += *p == c;
    return n;
}

// Collects the output of a pass: the untouched stretches of the input are
// appended whole, so a text with few changes costs about one copy.
class Builder {
public:
    explicit Builder(std::u16string_view in) : begin_(in.data()) {}
    // Emits the input from the last mark up to p and moves the mark to next.
    void Keep(const char16_t* p, const char16_t* next) {
        if (!started_) {
            out_.reserve(size_);
            started_ = true;
        }
        out_.append(begin_, static_cast<size_t>(p - begin_));
        begin_ = next;
    }
    void Reserve(size_t n) { size_ = n; }
    void Put(size_t count, char16_t c) { out_.append(count, c); }
    std::optional<std::u16string> Finish(const char16_t* end) {
        if (!started_) return std::nullopt;
        out_.append(begin_, static_cast<size_t>(end - begin_));
        return std::move(out_);
    }

private:
    const char16_t* begin_;
    size_t size_ = 0;
    bool started_ = false;
    std::u16string out_;
};

}  // namespace

std::optional<std::u16string> TrimTrailingSpaces(std::u16string_view text) {
    const char16_t* const first = text.data();
    const char16_t* const end = first + text.size();
    Builder out(text);
    out.Reserve(text.size());
    const char16_t* kept = first;  // nothing before this is looked at again
    for (const char16_t* cr = Find(first, end, u'\r'); cr != end; cr = Find(cr + 1, end, u'\r')) {
        if (cr + 1 == end || cr[1] != u'\n') continue;
        // Every space in front of a line break goes, one per pass of the
        // repeated replacement, until a character that is no space stands there.
        const char16_t* q = cr;
        while (q > kept && q[-1] == u' ') --q;
        if (q != cr) out.Keep(q, cr);
        kept = cr + 2;
    }
    return out.Finish(end);
}

std::optional<std::u16string> ExpandTabs(std::u16string_view text, int32_t width) {
    const char16_t* const first = text.data();
    const char16_t* const end = first + text.size();
    const size_t tabs = Count(first, end, u'\t');
    if (tabs == 0) return std::nullopt;
    const uint64_t spaces = width > 0 ? static_cast<uint64_t>(width) : 0;
    // At most 2^31 * 2^31: no overflow in 64 bits.
    const uint64_t size = static_cast<uint64_t>(text.size() - tabs) + static_cast<uint64_t>(tabs) * spaces;
    if (size > kMaxTextLength) throw std::bad_alloc();
    Builder out(text);
    out.Reserve(static_cast<size_t>(size));
    for (const char16_t* tab = Find(first, end, u'\t'); tab != end; tab = Find(tab + 1, end, u'\t')) {
        out.Keep(tab, tab + 1);
        out.Put(static_cast<size_t>(spaces), u' ');
    }
    return out.Finish(end);
}

std::optional<std::u16string> SqueezeBlankLines(std::u16string_view text) {
    const char16_t* const first = text.data();
    const char16_t* const end = first + text.size();
    Builder out(text);
    out.Reserve(text.size());
    const char16_t* cr = Find(first, end, u'\r');
    while (cr != end) {
        // A run of CR LF pairs; whatever its length, one pair is left of it.
        const char16_t* run = cr;
        while (end - run >= 2 && run[0] == u'\r' && run[1] == u'\n') run += 2;
        if (run - cr > 2) out.Keep(cr + 2, run);
        cr = Find(run == cr ? cr + 1 : run, end, u'\r');
    }
    return out.Finish(end);
}

}  // namespace quill::commands
