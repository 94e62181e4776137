// Fault injection through the real exports: callbacks missing or answering
// nothing, editor handles that name no window, exports in unusual orders. For
// each, every menu index from -1 to 300 runs on a fresh copy of the editor in
// one stand-in run. Outcome wanted: no crash, nothing thrown into the host, each
// editor text either the command's correct result or untouched, silence where
// a failure is dropped and a clear message where the user must act.
//
// The outcome table in the README is written by these tests (QUILL_TABLES_DIR).
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <set>

#include "harness.h"

namespace {

using quilltest::HostRun;
using quilltest::json;
using quilltest::Result;

const std::string kText = "x(ab  )  \r\n\r\n\r\n\ty\t \r\nz";
constexpr int kSelStart = 2, kSelEnd = 4;  // "ab", inside the brackets

struct Fault {
    std::string what;               // as the table says it
    std::vector<std::string> args;  // stand-in options
    bool selection = true;
};

const std::vector<std::pair<int, const char*>> kCallbacks = {
    {2, "HostSettingsKey"},     {3, "HostRootDir"},        {10, "HostSetMenuState"}, {14, "HostWindowType"},
    {30, "HostGetText"},        {31, "HostGetSelectedText"}, {33, "HostGetEditorHandle"}, {34, "HostSetText"},
    {141, "HostGetCursorX"},    {142, "HostGetCursorY"},   {143, "HostSetCursor"},    {150, "HostCreateToolButton"},
    {218, "HostGetPreference"},
};
const std::set<int> kTextCallbacks = {2, 3, 30, 31, 218};

std::vector<Fault> AllFaults() {
    std::vector<Fault> faults;
    for (auto [n, name] : kCallbacks)
        faults.push_back({std::string(name) + " not registered", {"--unregister", std::to_string(n)}});
    for (auto [n, name] : kCallbacks) {
        if (!kTextCallbacks.count(n)) continue;
        // An empty selected text means nothing is selected: the editor agrees.
        const bool selection = n != 31;
        const std::string note = selection ? "" : ", nothing selected";
        faults.push_back({std::string(name) + " answers a null text" + note, {"--null-text", std::to_string(n)}, selection});
        faults.push_back({std::string(name) + " answers an empty text" + note, {"--empty-text", std::to_string(n)}, selection});
    }
    for (int handle : {0, -1})
        for (bool sel : {true, false})
            faults.push_back({"HostGetEditorHandle answers " + std::to_string(handle) +
                                  (sel ? ", with a selection" : ", no selection"),
                              {"--editor-handle", std::to_string(handle)},
                              sel});
    return faults;
}

Result RunEach(const Fault& fault) {
    HostRun run;
    run.input(kText).pref("TabPosition", "2");
    if (fault.selection) run.select(kSelStart, kSelEnd);
    run.args(fault.args);
    run.args({"--sequence", "IdentifyPlugIn:1,RegisterAll,OnCreate,CreateMenuItems,OnActivate,onWindowChange,"
                            "Each:-1:300,OnDestroy"});
    return run.go();
}

std::map<int, std::string> Texts(const Result& r) {
    std::map<int, std::string> texts;
    if (r.report.contains("snapshots"))
        for (const auto& s : r.report["snapshots"]) texts[s["index"].get<int>()] = s["text"];
    return texts;
}

// Rows of the README table, in the order the tests ran.
std::vector<std::string>& Rows() {
    static std::vector<std::string> rows;
    return rows;
}


class Faults : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        baseline_ = new Result(RunEach({"none", {}}));
        Fault noSel{"none", {}, false};
        baselineNoSel_ = new Result(RunEach(noSel));
    }
    static void TearDownTestSuite() {
        delete baseline_;
        delete baselineNoSel_;
    }
    static Result* baseline_;
    static Result* baselineNoSel_;
};

Result* Faults::baseline_ = nullptr;
Result* Faults::baselineNoSel_ = nullptr;

TEST_F(Faults, BaselineRunsEveryCommandCorrectly) {
    ASSERT_EQ(baseline_->exit, 0) << baseline_->stderrText;
    auto texts = Texts(*baseline_);
    ASSERT_EQ(texts.size(), 302u);
    EXPECT_EQ(texts[1], "x(ab  )  \r\n\r\n\r\n\ty\t \r\nz");   // only "ab" selected: nothing to remove
    EXPECT_EQ(texts[2], "x(ab  )  \r\n\r\n\r\n  y   \r\nz");  // tabs to two spaces, whole text
    EXPECT_EQ(texts[5], "x((ab)  )  \r\n\r\n\r\n\ty\t \r\nz");
    EXPECT_EQ(texts[0], kText);
    EXPECT_EQ(texts[300], kText);
    auto noSel = Texts(*baselineNoSel_);
    EXPECT_EQ(noSel[1], "x(ab  )\r\n\r\n\r\n\ty\t\r\nz");
    EXPECT_EQ(noSel[3], "x(ab  )  \r\n\ty\t \r\nz");
}

TEST_F(Faults, NoFaultCrashesOrCorruptsTheText) {
    ASSERT_EQ(baseline_->exit, 0);
    const auto intendedSel = Texts(*baseline_), intendedNoSel = Texts(*baselineNoSel_);
    for (const Fault& fault : AllFaults()) {
        SCOPED_TRACE(fault.what);
        Result r = RunEach(fault);
        EXPECT_EQ(r.exit, 0) << r.stderrText;
        EXPECT_FALSE(r.report.contains("fault"));
        const auto texts = Texts(r);
        ASSERT_EQ(texts.size(), 302u);

        // What the command gives when the host is whole, for the same selection.
        const auto& intended = fault.selection ? intendedSel : intendedNoSel;
        int correct = 0, untouched = 0;
        std::set<std::string> shown;
        for (const auto& snap : r.report["snapshots"]) {
            const int index = snap["index"];
            const std::string& text = texts.at(index);
            EXPECT_TRUE(text == kText || text == intended.at(index)) << "index " << index << " gave " << text;
            if (intended.at(index) != kText) (text == kText ? untouched : correct)++;
            for (const auto& m : snap["messages"]) shown.insert(m.get<std::string>());
        }
        // A message names what went wrong; a bad editor handle is dropped silently.
        if (fault.args[0] == "--unregister") {
            const int n = std::stoi(fault.args[1]);
            std::string name;
            for (auto [k, v] : kCallbacks)
                if (k == n) name = v;
            // Or, when only the cursor could not be put back after the text was
            // written, that the text did change.
            for (const auto& m : shown)
                EXPECT_TRUE(m.find(name) != std::string::npos ||
                            (n == 143 && m == "The command changed the text, but PL/SQL Developer did not let "
                                              "Quillmendex put the cursor back."))
                    << m;
        }
        if (fault.args[0] == "--editor-handle") EXPECT_TRUE(shown.empty());

        std::string messages;
        for (const auto& m : shown) messages += (messages.empty() ? "" : "; ") + ("\"" + m + "\"");
        Rows().push_back("| " + fault.what + " | " + (r.exit == 0 && !r.report.contains("fault") ? "none" : "CRASH") +
                         " | " + std::to_string(correct) + " | " + std::to_string(untouched) + " | " +
                         (messages.empty() ? "none" : messages) + " |");
    }
    quilltest::WriteTable("faults",
               "| Fault injected (every index -1 to 300 clicked on a fresh editor) | Crash | Commands with their correct result "
               "| Commands that left the text untouched | Messages shown |\n|---|---|---|---|---|\n",
               Rows());
}

TEST_F(Faults, ExportsInUnusualOrders) {
    const std::vector<std::pair<std::string, std::string>> orders = {
        {"every export before IdentifyPlugIn and RegisterCallback",
         "OnCreate,CreateMenuItem:1,OnActivate,onWindowChange,Sweep:-1:300,Configure,About,OnDestroy,"
         "IdentifyPlugIn:1,RegisterAll,CreateMenuItems,OnDestroy"},
        {"every export before the first CreateMenuItem",
         "IdentifyPlugIn:1,RegisterAll,OnActivate,onWindowChange,Sweep:-1:300,About,OnDestroy"},
        {"OnDestroy twice, then commands", "IdentifyPlugIn:1,RegisterAll,CreateMenuItems,OnDestroy,OnDestroy,Sweep:1:3"},
        {"OnActivate and onWindowChange before CreateMenuItem, menu asked twice",
         "IdentifyPlugIn:1,RegisterAll,OnActivate,onWindowChange,CreateMenuItems,CreateMenuItems,OnActivate,OnDestroy"},
        {"IdentifyPlugIn called again with another id",
         "IdentifyPlugIn:1,RegisterAll,CreateMenuItems,IdentifyPlugIn:-5,OnActivate,onWindowChange,OnDestroy"},
    };
    std::vector<std::string> rows;
    for (const auto& [what, sequence] : orders) {
        SCOPED_TRACE(what);
        HostRun run;
        run.input(kText).pref("TabPosition", "2").select(kSelStart, kSelEnd).args({"--sequence", sequence});
        Result r = run.go();
        EXPECT_EQ(r.exit, 0) << r.stderrText;
        EXPECT_FALSE(r.report.contains("fault"));
        // Whatever ran, the text is one some sequence of correct commands gives:
        // at least it keeps its letters, in order.
        std::string letters;
        for (char c : r.out)
            if (std::isalpha(static_cast<unsigned char>(c))) letters += c;
        EXPECT_EQ(letters, "xabyz") << r.out;
        if (what.rfind("IdentifyPlugIn called again", 0) == 0) {
            for (const auto& b : r.Calls("HostCreateToolButton")) EXPECT_EQ(b["args"][0], -5);
        }
        rows.push_back("| " + what + " | " + (r.exit == 0 && !r.report.contains("fault") ? "none" : "CRASH") +
                       " | " + std::to_string(r.Messages().size()) + " |");
    }
    quilltest::WriteTable("orders", "| Exports called | Crash | Message boxes |\n|---|---|---|\n", rows);
}

}  // namespace
