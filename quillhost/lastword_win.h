#pragma once
// The stand-in's last word. Whatever ends a scripted run early (an exception in
// the plug-in or in the stand-in, a stack overflow, a second exception while the
// first is reported, abort(), std::terminate) leaves one line on stderr that
// names it, and a report with a "fault" whenever one can still be written:
//   - Begin writes a small unfinished report at once and keeps the file open;
//     a process that Wine ends without a word (it does so, with status 1 and
//     nothing on stderr under WINEDEBUG=-all, when an exception finds no stack
//     left to be handled on) leaves that report behind, naming the export or
//     step that was running;
//   - at a fault the line and a small report are written first, with no heap and
//     the plainest file calls; then the complete report is tried, which replaces
//     the small one only when it is whole.
#include <string>

#include <nlohmann/json.hpp>

namespace quillhost::lastword {

// Writes the complete report with `fault` set (Host::WriteReport).
using FullReport = void (*)(const char* fault);

// Installs the handlers: from here on every ending speaks on stderr.
void Install(FullReport full);
// Opens the --report file (reportPath null: none) and writes the unfinished
// report into it.
void Begin(const std::wstring* reportPath);
// What runs now: an export of the plug-in (with its integer argument, if any),
// a step of --sequence, or the stand-in's own work ("writing the report").
void Enter(const char* exportName, const long long* arg);
void Leave();
void Step(const std::wstring& step);
void Doing(const char* what);
// The complete report, through the file Begin opened; false when there is none.
bool WriteReport(const std::string& text);
// The fields that describe a fault ("fault_detail", "fault_during", ...) and
// "complete": true.
void AddTo(nlohmann::ordered_json& report);
// A usage error after Begin: no report at all, as before it.
void Discard();

}  // namespace quillhost::lastword
