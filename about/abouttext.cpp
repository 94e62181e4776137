#include "about/abouttext.h"

#include <ctime>

#include "settings/logger.h"

namespace quill {

namespace {

constexpr size_t kWidth = 41;

// "//", the content, blanks up to column 39 and "//" in columns 40 and 41.
std::u16string Framed(std::u16string_view content) {
    std::u16string line = u"//";
    line += content;
    if (line.size() < kWidth - 2) line.append(kWidth - 2 - line.size(), u' ');
    line += u"//";
    return line;
}

std::u16string Ascii(std::string_view s) { return std::u16string(s.begin(), s.end()); }

}  // namespace

std::u16string GetPluginName(std::u16string_view path) noexcept {
    try {
        const std::u16string dll = ChangeFileExt(path, u".dll");
        const size_t delimiter = dll.find_last_of(u"\\:");
        const std::u16string name = delimiter == std::u16string::npos ? dll : dll.substr(delimiter + 1);
        // One pass from left to right, as a plain replace-all does: pieces that
        // meet after a removal are not looked at again.
        std::u16string out;
        size_t from = 0;
        for (size_t at; (at = name.find(u".dll", from)) != std::u16string::npos; from = at + 4)
            out.append(name, from, at - from);
        out.append(name, from);
        return out;
    } catch (...) {
        return {};
    }
}

std::u16string CurrentYearText() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    return Ascii(std::to_string(local.tm_year + 1900));
}

std::u16string NoticeText(std::u16string_view firstYear) { return NoticeText(firstYear, CurrentYearText()); }

std::u16string NoticeText(std::u16string_view firstYear, std::u16string_view currentYear) {
    std::u16string text = u"(c) ";
    text += firstYear;
    if (firstYear != currentYear) {
        text += u"-";
        text += currentYear;
    }
    text += u" Quillmendex authors";
    return text;
}

std::vector<std::u16string> BuildInfoText() { return BuildInfoText(CurrentYearText()); }

std::vector<std::u16string> BuildInfoText(std::u16string_view currentYear) {
    static constexpr const char16_t* kBefore[] = {
        u"/////////////////////////////////////////",
        u"// PL/SQL Developer Plug-In            //",
    };
    static constexpr const char16_t* kAfter[] = {
        u"// authors@quillmendex.example         //",
        u"// https://quillmendex.example/blog    //",
        u"// https://quillmendex.example         //",
        u"/////////////////////////////////////////",
        u"// Use this plug-in replace tabs by    //",
        u"// spaces and to remove trailing       //",
        u"// spaces                              //",
        u"//                                     //",
        u"// Installs menu-items:                //",
        u"//  Edit / Quillmendex / Remove        //",
        u"//                  trailing spaces    //",
        u"//  Edit / Quillmendex / Replace       //",
        u"//                      tab by spaces  //",
        u"//  Edit / Quillmendex / Remove blank  //",
        u"//                      lines          //",
        u"//  Edit / Quillmendex / Add () around //",
        u"//                      selection      //",
        u"//  Edit / Quillmendex / Add [] around //",
        u"//                      selection      //",
        u"//  Edit / Quillmendex / Add {} around //",
        u"//                      selection      //",
        u"//  Edit / Quillmendex / Add '' around //",
        u"//                      selection      //",
        u"//  Edit / Quillmendex / Add \"\" around //",
        u"//                      selection      //",
        u"//  Edit / Quillmendex / About         //",
        u"//                                     //",
        u"// Thanks to:                          //",
        u"//   Merrowindshaw for the idea        //",
        u"//                                     //",
        u"/////////////////////////////////////////",
        u"// Revision History:                   //",
        u"// Version | Who | What                //",
        u"//  v1.0   | KRV | Initial version...  //",
        u"//  v1.1   | KRV | Cursor position is  //",
        u"//         |     | saved and reset     //",
        u"//         |     | Save indicator is   //",
        u"//         |     | not updated if there//",
        u"//         |     | were no changes     //",
        u"//  v1.2   | KRV | Did some work on    //",
        u"//         |     | the about window    //",
        u"//  v1.3   | KRV | Added the option to //",
        u"//         |     | remove blank lines  //",
        u"//  v1.4   | KRV | Added possibility   //",
        u"//         |     | to add brackets     //",
        u"//         |     | around the selection//",
        u"//  v2.0   | KRV | Added toolbarbuttons//",
        u"//         |     | Updated for         //",
        u"//         |     | PL/SQL Developer v10//",
        u"//  v2.1   | KRV | Added possibility to//",
        u"//         |     |  remove brackets    //",
        u"//         |     |  around the         //",
        u"//         |     |  selection          //",
        u"//  v2.2   | KRV | Remove trailing     //",
        u"//         |     |  spaces and empty   //",
        u"//         |     |  lines now works on //",
        u"//         |     |  selection(if any)  //",
        u"//         |     |  or entire file (if //",
        u"//         |     |  no selection was   //",
        u"//         |     |  made)              //",
        u"/////////////////////////////////////////",
    };
    std::vector<std::u16string> lines;
    lines.reserve(std::size(kBefore) + 1 + std::size(kAfter));
    for (const char16_t* line : kBefore) lines.emplace_back(line);
    std::u16string notice = u" ";
    notice += NoticeText(u"2010", currentYear);
    lines.push_back(Framed(notice));
    for (const char16_t* line : kAfter) lines.emplace_back(line);
    return lines;
}

std::vector<std::u16string> PaddedInfoText(const std::vector<std::u16string>& lines) {
    std::vector<std::u16string> padded;
    padded.reserve(6 + lines.size() + 16);
    padded.resize(6);
    padded.insert(padded.end(), lines.begin(), lines.end());
    padded.resize(padded.size() + 16);
    return padded;
}

}  // namespace quill
