// scripts/wine-run starts a program once more when Wine fails to start it at
// all, and says so; a second failure, or any other failure, is the outcome.
// A script stands in for wine here: it fails to start the program a given
// number of times, then runs it.
#include <gtest/gtest.h>

#include <filesystem>

#include "harness.h"

namespace {

using quilltest::Result;

TEST(WineRun, StartsAProgramOnceMoreWhenWineCouldNotStartIt) {
    quilltest::TempDir dir;
    const std::string fake = dir / "wine";
    quilltest::WriteFile(fake,
                         "#!/bin/sh\n"
                         "n=$(( $(cat \"$COUNT\" 2>/dev/null || echo 0) + 1 )); echo $n > \"$COUNT\"\n"
                         "if [ $n -le $FAILS ]; then echo \"$SAYS\" >&2; exit 1; fi\n"
                         "echo \"ran $*\"\n");
    std::filesystem::permissions(fake, std::filesystem::perms::owner_all);
    const struct {
        int fails;
        const char* says;
        int exit, starts;
        bool noted;  // wine-run's line that it starts the program once more
    } cases[] = {
        {0, "", 0, 1, false},
        {1, "ShellExecuteEx failed: Internal error.", 0, 2, true},
        {2, "ShellExecuteEx failed: Internal error.", 1, 2, true},
        {1, "some other failure", 1, 1, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.fails) + " " + c.says);
        const std::string count = dir / "count";
        std::filesystem::remove(count);
        const Result r = quilltest::RunCommand(
            {quilltest::SourceDir() + "/scripts/wine-run", "prog.exe", "a"},
            {"QUILL_WINE=" + fake, "COUNT=" + count, "FAILS=" + std::to_string(c.fails), std::string("SAYS=") + c.says});
        EXPECT_EQ(r.exit, c.exit) << r.stderrText;
        EXPECT_EQ(quilltest::ReadFile(count), std::to_string(c.starts) + "\n");
        EXPECT_EQ(r.stderrText.find("wine-run: Wine did not start prog.exe (ShellExecuteEx failed: Internal error.); "
                                    "starting it once more\n") != std::string::npos,
                  c.noted)
            << r.stderrText;
        EXPECT_EQ(r.stdoutText, c.exit == 0 ? "ran prog.exe a\n" : "");
        if (c.exit != 0) EXPECT_NE(r.stderrText.find(c.says), std::string::npos) << r.stderrText;
    }
}

}  // namespace
