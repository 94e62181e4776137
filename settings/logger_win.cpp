#include <windows.h>

#include <algorithm>

#include "base/handles_win.h"
#include "settings/logger.h"
#include "base/hosttext_win.h"

namespace quill {

namespace {

LogStamp Now() noexcept {
    SYSTEMTIME t{};
    GetLocalTime(&t);
    return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
}

[[noreturn]] void Fail(DWORD code) { throw LogError(code); }

// Opens the log for appending, or creates it when it is not there yet. Both
// opens share the file for reading only, so a second writer fails meanwhile.
FileHandle OpenForAppend(const std::u16string& name) {
    FileHandle file(CreateFileW(W(name), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file) {
        LARGE_INTEGER zero{};
        if (!SetFilePointerEx(file.get(), zero, nullptr, FILE_END)) Fail(GetLastError());
        return file;
    }
    // Only a log that does not exist is created; one that exists but cannot be
    // opened for appending (shared oddly, access denied) is never emptied.
    const DWORD why = GetLastError();
    if (why != ERROR_FILE_NOT_FOUND) Fail(why);
    file.reset(CreateFileW(W(name), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                           nullptr));
    if (!file) Fail(GetLastError());
    return file;
}

}  // namespace

std::u16string LogDateText() { return FormatLogDate(Now()); }
std::u16string LogTimeText() { return FormatLogTime(Now()); }

void WriteLog(std::u16string_view message, int32_t indent, int32_t level) {
    if (!IsLoggingEnabled()) return;
    if (GetLogThreshold() > level) return;
    const std::u16string name = GetLogFile();
    if (name.empty()) return;  // no log file named yet: nowhere to write
    if (name.size() >= MAX_PATH) Fail(ERROR_FILENAME_EXCED_RANGE);
    // The line is built before the file is touched, so running out of memory
    // leaves no trace in it.
    const std::u16string date = LogDateText();
    const std::u16string time = LogTimeText();
    const std::string bytes = ToAnsi(LogLine(date, time, indent, message)) + "\r\n";
    FileHandle file = OpenForAppend(name);
    size_t done = 0;
    while (done < bytes.size()) {
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 30));
        DWORD written = 0;
        if (!WriteFile(file.get(), bytes.data() + done, chunk, &written, nullptr)) Fail(GetLastError());
        if (written == 0) Fail(ERROR_WRITE_FAULT);
        done += written;
    }
    if (!file.close()) Fail(GetLastError());
}

}  // namespace quill
