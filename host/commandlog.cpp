#include "host/commandlog.h"

#include <cmath>
#include <string>

#include "base/convert.h"
#include "base/error.h"
#include "settings/keys.h"

namespace quill::plugin {
namespace {

using commands::Outcome;

std::u16string Number(uint64_t n) { return Utf8ToUtf16(std::to_string(n)); }

std::u16string Characters(size_t n) { return Number(n) + (n == 1 ? u" character" : u" characters"); }

// "; KEY on" or "; KEY off".
std::u16string Switch(const char16_t* key, bool on) { return u"; " + std::u16string(key) + (on ? u" on" : u" off"); }

std::u16string Milliseconds(double ms) {
    return Number(static_cast<uint64_t>(std::llround(ms > 0 ? ms : 0))) + u" ms";
}

std::u16string Written(const Outcome& o) {
    switch (o.way) {
        case Outcome::Way::HostSetText: return u"wrote " + Characters(o.written) + u" through HostSetText";
        case Outcome::Way::Selection: return u"wrote " + Characters(o.written) + u" into the selection (EM_REPLACESEL)";
        case Outcome::Way::Window:
            return u"wrote " + Characters(o.written) + u" through the editor window in UTF-16";
        case Outcome::Way::Nothing: break;
    }
    if (!o.changed) return u"unchanged";
    switch (o.notWritten) {
        case Outcome::NotWritten::NoEditorWindow: return u"changed, but wrote nothing (no editor window)";
        case Outcome::NotWritten::NoHostSetText: return u"changed, but wrote nothing (no HostSetText)";
        case Outcome::NotWritten::OverLimit: return u"changed, but wrote nothing (over the editor's limit)";
        case Outcome::NotWritten::Failed:
        case Outcome::NotWritten::No: break;
    }
    return u"changed, but wrote nothing (the write failed)";
}

std::u16string WithMessage(std::u16string line, std::u16string_view message) {
    if (!message.empty()) {
        line += u"; message: \"";
        line += message;
        line += u"\"";
    }
    return line;
}

}  // namespace

std::u16string LoadLogLine(std::u16string_view version, int bits, std::u16string_view dllPath,
                           std::u16string_view iniPath, uint32_t codePage) {
    std::u16string line = u"Quillmendex ";
    line += version.empty() ? u"(no version)" : version;
    line += u", " + Number(static_cast<uint64_t>(bits)) + u"-bit; plug-in ";
    line += dllPath;
    line += u"; settings ";
    line += iniPath;
    line += u"; ANSI code page " + Number(codePage);
    return line;
}

std::u16string CommandLogLine(std::string_view caption, const Outcome& o, bool showLiterals, double milliseconds,
                              std::u16string_view message) {
    std::u16string line = Utf8ToUtf16(caption) + u": ";
    switch (o.scope) {
        case Outcome::Scope::None: line += u"nothing read"; break;
        case Outcome::Scope::Selection: line += u"selection; read " + Characters(o.read); break;
        case Outcome::Scope::Whole: line += u"whole text; read " + Characters(o.read); break;
    }
    if (o.scope != Outcome::Scope::None) {
        line += u"; " + Written(o);
        line += o.lossy ? u"; the IDE's text was a lossy image of the editor's" : u"; IDE text exact";
    }
    if (showLiterals) line += Switch(keys::kKeepStringLiterals, o.keepLiterals);
    if (showLiterals && o.keepLiterals && o.literalsFromOwnStart)
        line += u" (the selection scanned from its own start: what stands before it was not known)";
    if (showLiterals && o.tabStops) line += Switch(keys::kTabStops, *o.tabStops);
    line += u"; " + Milliseconds(milliseconds);
    return WithMessage(std::move(line), message);
}

std::u16string AboutLogLine(std::string_view caption, double milliseconds, std::u16string_view message) {
    return WithMessage(Utf8ToUtf16(caption) + u": " + Milliseconds(milliseconds), message);
}

}  // namespace quill::plugin
