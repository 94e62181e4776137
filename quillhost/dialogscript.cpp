#include "quillhost/dialogscript.h"

namespace quillhost {

namespace {

std::wstring WithoutAmpersands(const std::wstring& text) {
    std::wstring out;
    for (wchar_t c : text)
        if (c != L'&') out += c;
    return out;
}

}  // namespace

std::optional<std::vector<DialogAction>> ParseDialogScript(const std::wstring& script, std::wstring& why) {
    std::vector<DialogAction> actions;
    size_t start = 0;
    while (start <= script.size()) {
        size_t end = script.find(L';', start);
        if (end == std::wstring::npos) end = script.size();
        const std::wstring written = script.substr(start, end - start);
        start = end + 1;
        if (written.empty()) continue;
        const size_t colon = written.find(L':');
        const std::wstring kind = written.substr(0, colon);
        const std::wstring arg = colon == std::wstring::npos ? L"" : written.substr(colon + 1);
        DialogAction a;
        a.written = written;
        if (kind == L"check" || kind == L"uncheck" || kind == L"click") {
            a.kind = kind == L"check" ? DialogAction::Kind::Check
                     : kind == L"uncheck" ? DialogAction::Kind::Uncheck
                                          : DialogAction::Kind::Click;
            a.text = WithoutAmpersands(arg);
            if (a.text.empty()) {
                why = L"--dialog: " + written + L" names no control";
                return std::nullopt;
            }
        } else if (kind == L"key" && (arg == L"ESC" || arg == L"ENTER" || arg == L"TAB")) {
            a.kind = arg == L"ESC"     ? DialogAction::Kind::Escape
                     : arg == L"ENTER" ? DialogAction::Kind::Enter
                                       : DialogAction::Kind::Tab;
        } else {
            why = L"--dialog: " + written + L" is none of check:TEXT, uncheck:TEXT, click:TEXT, key:ESC, key:ENTER, key:TAB";
            return std::nullopt;
        }
        actions.push_back(std::move(a));
    }
    if (actions.empty()) {
        why = L"--dialog wants at least one action";
        return std::nullopt;
    }
    return actions;
}

bool TextMatches(const std::wstring& controlText, const std::wstring& wanted) {
    const std::wstring shown = WithoutAmpersands(controlText), want = WithoutAmpersands(wanted);
    return !want.empty() && shown.compare(0, want.size(), want) == 0;
}

}  // namespace quillhost
