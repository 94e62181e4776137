#include "harness.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

extern char** environ;

namespace quilltest {
namespace fs = std::filesystem;

std::string Arch() {
    const char* arch = std::getenv("QUILL_ARCH");
    const std::string name = arch && *arch ? arch : "x64";
    if (name != "x64" && name != "x86") throw std::runtime_error("QUILL_ARCH is x64 or x86, not " + name);
    return name;
}

std::string Bitness() { return Arch() == "x86" ? "32-bit" : "64-bit"; }

std::string Win64Dir() { return QUILL_WIN64_DIR; }
std::string WinDir() { return fs::path(Win64Dir()).parent_path().string() + "/" + Arch(); }
std::string HostExe() { return WinDir() + "/quillhost.exe"; }
std::string SourceDir() { return QUILL_SOURCE_DIR; }
std::string ProbePlugin() { return WinDir() + "/testplugin/quill_probe.dll"; }

TempDir::TempDir() {
    std::string tmpl = (fs::temp_directory_path() / "quilltest-XXXXXX").string();
    if (!mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp failed");
    path_ = tmpl;
}

TempDir::~TempDir() {
    std::error_code ec;
    // A test may have made a folder read-only; give write access back first.
    for (auto it = fs::recursive_directory_iterator(path_, ec); !ec && it != fs::recursive_directory_iterator();
         it.increment(ec))
        fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(path_, ec);
}

std::string ReadFile(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream f(path, std::ios::binary);
    f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

bool Exists(const std::string& path) { return fs::exists(path); }

std::string WinPath(const std::string& unixPath) {
    std::string out = "Z:" + unixPath;
    for (char& c : out)
        if (c == '/') c = '\\';
    return out;
}

void WriteTable(const std::string& name, const std::string& head, const std::vector<std::string>& rows) {
    const char* dir = std::getenv("QUILL_TABLES_DIR");
    if (!dir || !*dir) return;
    std::ofstream f(std::string(dir) + "/" + name + ".md", std::ios::binary);
    f << head;
    for (const auto& row : rows) f << row << "\n";
}

std::vector<json> Result::Calls(const std::string& name) const {
    std::vector<json> found;
    if (report.contains("calls"))
        for (const auto& c : report["calls"])
            if (c["name"] == name) found.push_back(c);
    return found;
}

std::vector<std::string> Result::CallNames() const {
    std::vector<std::string> names;
    if (report.contains("calls"))
        for (const auto& c : report["calls"]) names.push_back(c["name"]);
    return names;
}

std::vector<std::string> Result::Messages() const {
    std::vector<std::string> texts;
    if (report.contains("messages"))
        for (const auto& m : report["messages"]) texts.push_back(m);
    return texts;
}

Result RunCommand(const std::vector<std::string>& argv, const std::vector<std::string>& env) {
    TempDir io;
    const std::string outPath = io / "stdout", errPath = io / "stderr";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    std::vector<std::string> envStrings;
    for (char** e = environ; *e; ++e) envStrings.emplace_back(*e);
    for (const auto& e : env) {
        const std::string key = e.substr(0, e.find('=') + 1);
        std::erase_if(envStrings, [&](const std::string& s) { return s.rfind(key, 0) == 0; });
        envStrings.push_back(e);
    }
    std::vector<char*> cargv, cenv;
    for (const auto& a : argv) cargv.push_back(const_cast<char*>(a.c_str()));
    cargv.push_back(nullptr);
    for (const auto& e : envStrings) cenv.push_back(const_cast<char*>(e.c_str()));
    cenv.push_back(nullptr);
    pid_t pid = 0;
    Result r;
    if (posix_spawn(&pid, cargv[0], &actions, nullptr, cargv.data(), cenv.data()) == 0) {
        int status = 0;
        waitpid(pid, &status, 0);
        r.exit = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    posix_spawn_file_actions_destroy(&actions);
    r.stdoutText = ReadFile(outPath);
    r.stderrText = ReadFile(errPath);
    return r;
}

HostRun::HostRun() {
    const fs::path plugin = dir / "plugin";
    fs::create_directories(plugin);
    // Only what a user installs: a run that used the build's folder itself may
    // have left settings or logs there.
    for (const auto& entry : fs::directory_iterator(WinDir() + "/plugin")) {
        const std::string ext = entry.path().extension().string();
        if (ext == ".dll" || ext == ".bmp") fs::copy_file(entry.path(), plugin / entry.path().filename());
    }
    args_ = {"--plugin", WinPath(pluginDir() + "/Quillmendex.dll"), "--report", WinPath(dir / "report.json"),
             "--out", WinPath(dir / "out.txt"), "--out-utf8", WinPath(dir / "out_utf8.txt")};
}

HostRun& HostRun::input(const std::string& bytes) {
    WriteFile(dir / "in.txt", bytes);
    if (!hasInput_) args_.insert(args_.end(), {"--in", WinPath(dir / "in.txt")});
    hasInput_ = true;
    return *this;
}

HostRun& HostRun::inputUtf8(const std::string& bytes) {
    WriteFile(dir / "in_utf8.txt", bytes);
    if (!hasInputUtf8_) args_.insert(args_.end(), {"--in-utf8", WinPath(dir / "in_utf8.txt")});
    hasInputUtf8_ = true;
    return *this;
}

HostRun& HostRun::plugin(const std::string& path) {
    args_[1] = WinPath(path);  // the value of the first option, --plugin
    return *this;
}

HostRun& HostRun::select(int start, int end) {
    return args({"--select", std::to_string(start) + ":" + std::to_string(end)});
}

HostRun& HostRun::click(int index) { return args({"--click", std::to_string(index)}); }
HostRun& HostRun::pref(const std::string& name, const std::string& value) { return args({"--pref", name + "=" + value}); }
HostRun& HostRun::env(const std::string& name, const std::string& value) { return args({"--env", name + "=" + value}); }

HostRun& HostRun::args(const std::vector<std::string>& more) {
    args_.insert(args_.end(), more.begin(), more.end());
    return *this;
}

HostRun& HostRun::lang(const std::string& lang) {
    lang_ = lang;
    return *this;
}

HostRun& HostRun::timeout(int seconds) {
    timeout_ = seconds;
    return *this;
}

HostRun& HostRun::mayEndWithoutAWord() {
    mayEndWithoutAWord_ = true;
    return *this;
}

Result HostRun::go() {
    std::vector<std::string> argv = {SourceDir() + "/scripts/wine-run", HostExe()};
    argv.insert(argv.end(), args_.begin(), args_.end());
    for (int attempt = 1;; ++attempt) {
        std::remove((dir / "report.json").c_str());
        std::remove((dir / "out.txt").c_str());
        std::remove((dir / "out_utf8.txt").c_str());
        Result r =
            RunCommand(argv, {"LANG=" + lang_, "LC_ALL=" + lang_, "QUILL_WINE_TIMEOUT=" + std::to_string(timeout_)});
        const std::string report = ReadFile(dir / "report.json");
        if (!report.empty()) r.report = json::parse(report, nullptr, false);
        r.out = ReadFile(dir / "out.txt");
        r.outUtf8 = ReadFile(dir / "out_utf8.txt");
        r.retried = attempt > 1;
        // Under load Wine now and then fails to start a program at all, with
        // no word on stderr (WINEDEBUG=-all) and before the stand-in has
        // written anything: it is started once more, as scripts/wine-run does
        // where Wine says so.
        if (attempt == 1 && r.exit != 0 && report.empty() && r.stderrText.empty()) {
            std::fprintf(stderr, "harness: Wine did not start the stand-in (exit %d, no report, nothing on stderr); "
                                 "starting it once more\n",
                         r.exit);
            continue;
        }
        if (!EndedWithoutAWord(r)) return r;
        if (attempt > 1) {
            if (!mayEndWithoutAWord_)
                ADD_FAILURE() << "the stand-in ended without a word twice (exit " << r.exit << ", during "
                              << r.report.value("fault_during", std::string("?")) << ")";
            return r;
        }
        // The stand-in itself names every fault it sees; a run that ends
        // without a word was ended from outside it (by Wine, see the README's
        // section on the stand-in's exit status), so it is run once more.
        std::fprintf(stderr, "harness: the stand-in ended without a word (exit %d, its report unfinished, during %s); "
                             "running it once more\n",
                     r.exit, r.report.value("fault_during", std::string("?")).c_str());
    }
}

bool EndedWithoutAWord(const Result& r) {
    return r.report.is_object() && r.report.value("fault", std::string()) == "ended early" &&
           !r.report.value("complete", true);
}

}  // namespace quilltest
