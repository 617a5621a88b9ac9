#include <gtest/gtest.h>

#include <algorithm>

#include "CoreRun.h"

namespace vorlan::testing {
namespace {

// A script host creates the core by ProgID and runs a project; the script
// inherits the test's device and the recording plug-in's journal.
TEST(CoreScriptTest, AScriptClientRunsAProject) {
    CoreRun run;
    run.Table("a.xml", "RecorderSync", {{{"Name", "a1"}, {"Value", "v"}}});
    const std::string top =
        run.Table("top.xml", "PlugInsCfg", {CoreRun::Component("Recorder.Vorlan", "a.xml", "Scripted", "2.1", "4")});

    EXPECT_EQ(RunProgram("cscript //nologo \"" + WindowsPath(SCRIPT_PATH) + "\" \"" + top + "\""), 0);
    const auto journal = run.Journal();
    EXPECT_NE(std::find(journal.begin(), journal.end(), "PerformTransfer Name=a1 Value=v"), journal.end());
    EXPECT_EQ(run.Index("a.xml", "Name"), "Scripted");
    EXPECT_EQ(run.Index("a.xml", "Version"), "2.1");
    EXPECT_EQ(run.Index("a.xml", "Patch"), "4");
}

}  // namespace
}  // namespace vorlan::testing
