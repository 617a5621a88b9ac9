#include <gtest/gtest.h>

#include "CoreRun.h"
#include "RegistryByPath.h"
#include "VorlanMessages.h"
#include "ServiceManagerProcess.h"

namespace vorlan::testing {
namespace {

using Line = ServiceManagerProcess::Line;

const char kUserErrorLevel[] = "HKEY_CURRENT_USER\\SOFTWARE\\Dravenhall\\Vorlan\\ErrorLevel";
const char kUserMessageTtl[] = "HKEY_CURRENT_USER\\SOFTWARE\\Dravenhall\\Vorlan\\Message TTL";

class CoreErrorLevelTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_HRESULT_SUCCEEDED(com_.Result());
        ASSERT_TRUE(manager_.Started());
        ASSERT_EQ(RegWriteDword(kUserMessageTtl, 4321), ERROR_SUCCESS);
    }
    void TearDown() override {
        DeleteRegValue(kUserErrorLevel);
        DeleteRegValue(kUserMessageTtl);
    }

    // Three components: one that runs cleanly, one with a failing row, one
    // whose table is missing.
    std::string Project() {
        run_.Table("a.xml", "RecorderSync", {{{"Name", "a1"}}, {{"Value", "v"}}});
        run_.Table("failing.xml", "RecorderSync", {{{"Name", "f1"}, {"Fail", "broken"}}});
        return run_.Table("top.xml", "PlugInsCfg",
                          {CoreRun::Component("Recorder.Vorlan", "a.xml", "Good", "1.0", "0", "1"),
                           CoreRun::Component("Recorder.Vorlan", "failing.xml", "Failing row", "1.0", "0", "1"),
                           CoreRun::Component("Recorder.Vorlan", "missing.xml", "Missing", "1.0", "0", "1")});
    }

    // Balloons shown since the last call, as (time to live, text).
    std::vector<std::pair<std::string, std::string>> NewBalloons() {
        std::vector<std::pair<std::string, std::string>> found;
        const auto lines = manager_.Lines("balloon");
        for (size_t i = seenBalloons_; i < lines.size(); ++i) {
            const Line& line = lines[i];
            EXPECT_EQ(line.size(), 6u);
            if (line.size() < 6) continue;
            EXPECT_EQ(line[3], "Dravenhall Sync");
            found.emplace_back(line[2], line[4]);
        }
        seenBalloons_ = lines.size();
        return found;
    }

    ComScope com_;
    ServiceManagerProcess manager_;
    CoreRun run_;
    size_t seenBalloons_ = 0;
};

// A balloon's text describes an event: the event's message when the message
// file is found, else the fallback that names the identifier.
bool Describes(const std::string& text, const std::string& id, const std::string& message) {
    return text.find(message) != std::string::npos || text.find("Error " + id) == 0;
}

TEST_F(CoreErrorLevelTest, ErrorLevelDecidesWhatTheUserSees) {
    const std::string top = Project();

    // 2: a balloon for every failure at once; failed items and components
    // stay 3000 ms, the top table's own failures as long as Message TTL.
    ASSERT_EQ(RegWriteDword(kUserErrorLevel, 2), ERROR_SUCCESS);
    ASSERT_EQ(run_.Sync(top), S_OK);
    auto balloons = NewBalloons();
    ASSERT_EQ(balloons.size(), 2u);
    EXPECT_EQ(balloons[0].first, "3000");
    EXPECT_TRUE(Describes(balloons[0].second, "0xC0020003", "cannot be used")) << balloons[0].second;
    EXPECT_EQ(balloons[1].first, "3000");
    EXPECT_TRUE(Describes(balloons[1].second, "0xC0020014", "cannot be opened")) << balloons[1].second;
    EXPECT_TRUE(balloons[1].second.find("missing.xml") != std::string::npos) << balloons[1].second;
    EXPECT_EQ(run_.Sync((run_.Folder() / "absent.xml")), E_INVALIDARG);
    balloons = NewBalloons();
    ASSERT_EQ(balloons.size(), 1u);
    EXPECT_EQ(balloons[0].first, "4321");
    EXPECT_TRUE(Describes(balloons[0].second, "0xC0020014", "cannot be opened")) << balloons[0].second;
    EXPECT_TRUE(balloons[0].second.find("absent.xml") != std::string::npos) << balloons[0].second;

    // 1: one summary at the end of a run that saw errors.
    ASSERT_EQ(RegWriteDword(kUserErrorLevel, 1), ERROR_SUCCESS);
    ASSERT_EQ(run_.Sync(top), S_OK);
    balloons = NewBalloons();
    ASSERT_EQ(balloons.size(), 1u);
    EXPECT_EQ(balloons[0].first, "4321");
    EXPECT_TRUE(Describes(balloons[0].second, "0xC002000F", "Errors occurred")) << balloons[0].second;
    run_.Table("clean.xml", "PlugInsCfg", {CoreRun::Component("Recorder.Vorlan", "a.xml", "Good", "1.0", "0", "1")});
    ASSERT_EQ(run_.Sync(run_.Folder() / "clean.xml"), S_OK);
    EXPECT_TRUE(NewBalloons().empty()) << "a run without errors ends without a summary";

    // 0: the event log only.
    ASSERT_EQ(RegWriteDword(kUserErrorLevel, 0), ERROR_SUCCESS);
    const size_t before = run_.Events().size();
    ASSERT_EQ(run_.Sync(top), S_OK);
    EXPECT_TRUE(NewBalloons().empty());

    // Whatever the level, every failure is in the event log.
    const auto events = run_.Events();
    ASSERT_EQ(events.size(), before + 2);
    EXPECT_EQ(events[before].eventId, EVT_ITEM_UNUSABLE);
    EXPECT_EQ(events[before].strings, std::vector<std::string>{"broken"});
    EXPECT_EQ(events[before + 1].eventId, EVT_CANNOT_OPEN);
}

TEST_F(CoreErrorLevelTest, ProgressLinesFollowTheRun) {
    const std::string top = Project();
    const size_t before = manager_.Lines("status").size();
    ASSERT_EQ(run_.Sync(top), S_OK);
    auto lines = manager_.Lines("status");
    lines.erase(lines.begin(), lines.begin() + static_cast<std::ptrdiff_t>(before));
    EXPECT_EQ(lines, (std::vector<Line>{
                         {"Vorlan: Package Good: Part 1 of 3"},
                         {"Vorlan: Package a1: Part 1 of 2"},
                         {"Vorlan: Package Main: Part 2 of 2"},
                         {"Vorlan: Package Failing row: Part 2 of 3"},
                         {"Vorlan: Package f1: Part 1 of 1"},
                         {"Vorlan: Package Missing: Part 3 of 3"},
                     }));
}

}  // namespace
}  // namespace vorlan::testing
