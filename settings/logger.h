#pragma once
// The diagnostic log: time-stamped lines appended to a text file while logging
// is switched on. Process-wide state: the file name (empty at load), the switch
// (off at load) and the level threshold (always 1).
//
// The state and the text rules are portable (logger.cpp); the clock and the
// file writing are Windows code (logger_win.cpp).
#include <cstdint>
#include <string>
#include <string_view>

#include "base/error.h"

namespace quill {

// A log file that could not be opened, written or closed: "I/O error N", N the
// platform's error code.
class LogError : public Error {
public:
    explicit LogError(uint32_t code);
    uint32_t code() const noexcept { return code_; }

private:
    uint32_t code_;
};

// The state. SetLogFile touches no file.
void SetLogFile(std::u16string_view name);
std::u16string GetLogFile();
void EnableLogging() noexcept;
void DisableLogging() noexcept;
void ToggleLogging() noexcept;
bool IsLoggingEnabled() noexcept;
int32_t GetLogThreshold() noexcept;
// What the settings file's "Logging" key asks for: on, the log into the
// settings path with ".dbg" and switched on; off, switched off.
void SetLoggingFromSettings(bool on, std::u16string_view iniPath);

// Appends one line "[YYYY-MM-DD HH:MM:SS] :" + indent spaces + message + CR LF
// (ANSI code page) when logging is on and level >= the threshold; otherwise
// touches nothing, as it does while no log file is named. The file is opened
// for this one line and closed again.
// A failure (missing folder, file written by another process, a name of 260
// characters or more) raises LogError (a quill::Error) and leaves the state as it was;
// callers that must not fail catch it. Windows only.
void WriteLog(std::u16string_view message, int32_t indent, int32_t level);

// The local date "YYYY-MM-DD" and time "HH:MM:SS" (24-hour clock), fixed
// formats whatever the regional settings. Windows only.
std::u16string LogDateText();
std::u16string LogTimeText();

// Portable text rules.

// The path with its extension replaced by ext (ext includes its dot, e.g.
// u".log"). The extension runs from the last "." after the last "\" or ":";
// a name without one gets ext appended.
std::u16string ChangeFileExt(std::u16string_view path, std::u16string_view ext);

// A date and time of day as the log formats them.
struct LogStamp {
    int year = 0, month = 0, day = 0;
    int hour = 0, minute = 0, second = 0;
};
std::u16string FormatLogDate(const LogStamp& t);  // "2024-03-07"
std::u16string FormatLogTime(const LogStamp& t);  // "09:05:03"
// One log line without its CR LF: "[" date " " time "] :" indent message.
std::u16string LogLine(std::u16string_view date, std::u16string_view time, int32_t indent,
                       std::u16string_view message);

}  // namespace quill
