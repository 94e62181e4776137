#include "settings/logger.h"

#include <string>

namespace quill {

namespace {

std::u16string logFileName;
bool loggingEnabled = false;
constexpr int32_t kLogThreshold = 1;

std::u16string Ascii(const std::string& s) { return std::u16string(s.begin(), s.end()); }

// n as decimal text, at least width digits (zeros in front).
std::u16string Digits(int n, size_t width) {
    const long long v = n;
    std::string s = std::to_string(v < 0 ? -v : v);
    if (s.size() < width) s.insert(0, width - s.size(), '0');
    return Ascii(v < 0 ? "-" + s : s);
}

}  // namespace

LogError::LogError(uint32_t code) : Error(u"I/O error " + Ascii(std::to_string(code))), code_(code) {}

void SetLogFile(std::u16string_view name) { logFileName.assign(name); }
std::u16string GetLogFile() { return logFileName; }
void EnableLogging() noexcept { loggingEnabled = true; }
void DisableLogging() noexcept { loggingEnabled = false; }

void SetLoggingFromSettings(bool on, std::u16string_view iniPath) {
    if (on) {
        SetLogFile(ChangeFileExt(iniPath, u".dbg"));
        EnableLogging();
    } else {
        DisableLogging();
    }
}
void ToggleLogging() noexcept { loggingEnabled = !loggingEnabled; }
bool IsLoggingEnabled() noexcept { return loggingEnabled; }
int32_t GetLogThreshold() noexcept { return kLogThreshold; }

std::u16string ChangeFileExt(std::u16string_view path, std::u16string_view ext) {
    const size_t delimiter = path.find_last_of(u"\\:");
    const size_t dot = path.rfind(u'.');
    const bool hasExt = dot != std::u16string_view::npos && (delimiter == std::u16string_view::npos || dot > delimiter);
    std::u16string out(hasExt ? path.substr(0, dot) : path);
    out += ext;
    return out;
}

std::u16string FormatLogDate(const LogStamp& t) {
    return Digits(t.year, 4) + u"-" + Digits(t.month, 2) + u"-" + Digits(t.day, 2);
}

std::u16string FormatLogTime(const LogStamp& t) {
    return Digits(t.hour, 2) + u":" + Digits(t.minute, 2) + u":" + Digits(t.second, 2);
}

std::u16string LogLine(std::u16string_view date, std::u16string_view time, int32_t indent,
                       std::u16string_view message) {
    std::u16string line;
    line.reserve(date.size() + time.size() + message.size() + 8 + (indent > 0 ? indent : 0));
    line += u"[";
    line += date;
    line += u" ";
    line += time;
    line += u"] :";
    if (indent > 0) line.append(static_cast<size_t>(indent), u' ');
    line += message;
    return line;
}

}  // namespace quill
