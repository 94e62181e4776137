#pragma once
// The stand-in's command line.
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace quillhost {

struct Options {
    std::wstring plugin;
    std::optional<std::wstring> in, out, report, root;
    std::optional<std::pair<int32_t, int32_t>> select;
    std::vector<std::pair<std::wstring, std::wstring>> prefs, env;
    int32_t windowType = 1;
    std::wstring settingsKey;
    std::vector<int32_t> clicks;
    // Fault injection: callbacks left unregistered, or answering a null or an
    // empty text; an editor handle other than the editor's own.
    std::vector<int32_t> unregister, nullText, emptyText;
    std::optional<int32_t> editorHandle;
    // Exports called in an order other than the IDE's: a comma-separated list of
    // export names (with their argument after ':'), run instead of the usual order.
    std::optional<std::wstring> sequence;
    bool interactive() const { return clicks.empty() && !out && !report && !sequence; }
};

struct ParseResult {
    std::optional<Options> options;
    std::wstring error;  // set when options is empty
};

ParseResult ParseArgs(const std::vector<std::wstring>& args);

// Signed decimal 32-bit integer, whole text; nothing else.
std::optional<int32_t> ParseInt32(const std::wstring& text);

// "/tmp/x" as Wine's Z: drive path "Z:\tmp\x"; any other path unchanged.
std::wstring WindowsPath(const std::wstring& path);

const wchar_t* Usage();

}  // namespace quillhost
