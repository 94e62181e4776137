#pragma once
// Runs the real DLL in the host stand-in under Wine and reads what it recorded.
//
//   quilltest::HostRun run;                        // a fresh copy of the plug-in folder
//   run.input("a  \r\n");                      // the editor's text (bytes, ANSI)
//   auto r = run.args({"--click", "1"}).go();  // runs quillhost.exe
//   EXPECT_EQ(r.out, "a\r\n");                 // the editor text afterwards
//   EXPECT_EQ(r.outUtf8, "a\r\n");             // the same, as UTF-8
//   EXPECT_EQ(r.Calls("HostSetText").size(), 1);
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

namespace quilltest {

using json = nlohmann::ordered_json;

// The folders of a test: plug-in copy, files it reads and writes. Removed at the end.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& bytes);
bool Exists(const std::string& path);
// The Windows form of a Unix path, as the plug-in sees it: Z:\tmp\...
std::string WinPath(const std::string& unixPath);

struct Result {
    int exit = -1;
    std::string stdoutText, stderrText;
    json report;          // empty when no report was written
    std::string out;      // the editor text afterwards (bytes, ANSI)
    std::string outUtf8;  // the editor text afterwards, as UTF-8 (--out-utf8)
    bool retried = false;  // the first run ended without a word (EndedWithoutAWord): this is the second
    // The recorded calls with this name, in order (callbacks and EM_ messages).
    std::vector<json> Calls(const std::string& name) const;
    // Names of all recorded calls, in order.
    std::vector<std::string> CallNames() const;
    std::vector<std::string> Messages() const;
};

class HostRun {
public:
    HostRun();  // copies the plug-in (DLL and bitmaps) into a fresh folder
    HostRun& input(const std::string& bytes);
    // The editor's text from a UTF-8 file (--in-utf8; bytes as they are, so a
    // test can hand it what is not UTF-8).
    HostRun& inputUtf8(const std::string& bytes);
    // Another DLL than the plug-in's copy (a Unix path).
    HostRun& plugin(const std::string& path);
    HostRun& select(int start, int end);
    HostRun& click(int index);
    HostRun& pref(const std::string& name, const std::string& value);
    HostRun& env(const std::string& name, const std::string& value);
    HostRun& args(const std::vector<std::string>& more);
    // The Unix LANG under which Wine runs (picks the ANSI code page).
    HostRun& lang(const std::string& lang);
    // How long the stand-in may run, in seconds (default 120). Wine's edit
    // control takes minutes to lay out tens of megabytes.
    HostRun& timeout(int seconds);
    // A run that ends without a word (twice) is a test failure unless the test
    // expects it, as the tests of the stand-in's last word do.
    HostRun& mayEndWithoutAWord();
    Result go();

    TempDir dir;                 // holds plugin/ and the run's files
    std::string pluginDir() const { return dir / "plugin"; }

private:
    std::vector<std::string> args_;
    std::string lang_ = "en_US.UTF-8";
    bool hasInput_ = false, hasInputUtf8_ = false;
    int timeout_ = 120;
    bool mayEndWithoutAWord_ = false;
};

// The stand-in ended without a word of its own: only the unfinished report it
// writes at start ("fault": "ended early", "complete": false), whatever the
// exit status (Wine ends such a process with 1, and with 32-bit Wine installed
// also with 0). HostRun::go runs such a run once more, and says so.
bool EndedWithoutAWord(const Result& r);

// Writes a README table, or a part of one named "NAME+KEY", into QUILL_TABLES_DIR
// for scripts/readme-tables.sh; nothing when that is not set.
void WriteTable(const std::string& name, const std::string& head, const std::vector<std::string>& rows);

// Runs any command line, returning exit status and output.
Result RunCommand(const std::vector<std::string>& argv, const std::vector<std::string>& env = {});

// The architecture under test, "x64" or "x86": the environment variable
// QUILL_ARCH, x64 when it is unset. The stand-in, its test plug-ins and the
// plug-in the tests run are that architecture's.
std::string Arch();
// "32-bit" or "64-bit", as the plug-in's log names its build.
std::string Bitness();
// Paths of the build: the x64 tree, the tree of Arch(), its stand-in, the source tree.
std::string Win64Dir();
std::string WinDir();
std::string HostExe();
std::string SourceDir();
// The stand-in's own test plug-in (tests/e2e/testplugin/probe_plugin.c).
std::string ProbePlugin();

}  // namespace quilltest
