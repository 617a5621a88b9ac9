// A user's week with a folder kept in step: files created, edited and
// deleted on each side, restored, and changed on both sides; both trees
// and the conflict marks are checked after every run.
#include <gtest/gtest.h>

#include <functional>

#include "Bstr.h"
#include "TwoWayFixture.h"

namespace vorlan::filesync::testing {
namespace {

using Files = std::vector<std::string>;

class TwoWayWeekTest : public TwoWaySuite {
protected:
    std::vector<std::string> Conflicts() const {
        std::vector<std::string> marked;
        const TwoWayState state = LoadState();
        for (const std::string& section : state.Sections())
            if (const auto device = state.ConflictRecord(section)) marked.push_back(section + " -> " + *device);
        return marked;
    }
};

TEST_F(TwoWayWeekTest, AWeekOfChangesOnBothSides) {
    const std::string ws = Local("Work"), dev = "\\My Documents\\Work";
    const std::string photos = Local("Photos"), devPhotos = "\\My Documents\\Photos";
    PutDevice(devPhotos + "\\beach.jpg", "sand");  // on the device only, never synchronised
    auto engine = Engine();
    const auto wsFile = [&](const std::string& name) { return ws + "\\" + name; };
    const auto devFile = [&](const std::string& name) { return dev + "\\" + name; };
    const auto remove = [&](const std::string& devPath) { DeleteFileW(DeviceHost(devPath).c_str()); };

    const struct Day {
        const char* what;
        std::function<void()> change;
        const char* options;
        HRESULT want;
        Files both;  // what each side holds afterwards (the same on both)
        std::vector<std::string> conflicts;
    } days[] = {
        {"Monday: a new folder on the workstation",
         [&] {
             PutLocal(wsFile("report.doc"), "report 1");
             PutLocal(wsFile("notes\\monday.txt"), "notes 1");
         },
         "", S_OK, {"notes\\", "notes\\monday.txt=notes 1", "report.doc=report 1"}, {}},
        {"Tuesday: the report edited on the workstation",
         [&] { PutLocal(wsFile("report.doc"), "report 2"); },
         "", S_OK, {"notes\\", "notes\\monday.txt=notes 1", "report.doc=report 2"}, {}},
        {"Wednesday: notes edited and a list added on the device",
         [&] {
             PutDevice(devFile("notes\\monday.txt"), "notes 2 from the road");
             PutDevice(devFile("todo.txt"), "call back");
         },
         "", S_OK, {"notes\\", "notes\\monday.txt=notes 2 from the road", "report.doc=report 2", "todo.txt=call back"},
         {}},
        {"Thursday: the notes deleted on the workstation, the list on the device",
         [&] {
             TwoWaySuite::RemoveLocalTree(wsFile("notes"));
             remove(devFile("todo.txt"));
         },
         "", S_OK, {"report.doc=report 2"}, {}},
        {"Friday: the notes restored with the very same content; the report deleted on both sides",
         [&] {
             PutLocal(wsFile("notes\\monday.txt"), "notes 2 from the road");
             DeleteFileA(wsFile("report.doc").c_str());
             remove(devFile("report.doc"));
         },
         "", S_OK, {"notes\\", "notes\\monday.txt=notes 2 from the road"}, {}},
        {"Saturday: the old report restored on the device",
         [&] { PutDevice(devFile("report.doc"), "report 2"); },
         "", S_OK, {"notes\\", "notes\\monday.txt=notes 2 from the road", "report.doc=report 2"}, {}},
        {"Saturday night: the report changed on both sides",
         [&] {
             PutLocal(wsFile("report.doc"), "report 3 at home");
             PutDevice(devFile("report.doc"), "report 3 on the train");
         },
         "", E_FAIL, {}, {"report.doc"}},
        {"Sunday morning: nothing done, still in conflict", [] {}, "", E_FAIL, {}, {"report.doc"}},
        {"Sunday: the device's copy wins",
         [] {}, " | QV_CONFLICT_DEVICE_WINS", S_OK,
         {"notes\\", "notes\\monday.txt=notes 2 from the road", "report.doc=report 3 on the train"}, {}},
    };
    for (const Day& day : days) {
        SCOPED_TRACE(day.what);
        day.change();
        MarkEvents();
        EXPECT_EQ(Run(*engine, ws, dev, std::string("QV_TWO_WAY_FOLDER_SYNC") + day.options), day.want);
        EXPECT_EQ(Run(*engine, photos, devPhotos, "QV_TWO_WAY_FOLDER_SYNC"), S_OK);
        EXPECT_EQ(Tree(photos), Files{"beach.jpg=sand"});
        std::vector<std::string> marks;
        for (const std::string& name : day.conflicts) marks.push_back(wsFile(name) + " -> " + devFile(name));
        EXPECT_EQ(Conflicts(), marks);
        if (day.want == S_OK) {
            EXPECT_EQ(Tree(ws), day.both);
            EXPECT_EQ(Tree(com::AnsiFromWide(DeviceHost(dev))), day.both);
        } else {
            EXPECT_EQ(LocalFile(wsFile("report.doc")), "report 3 at home");
            EXPECT_EQ(DeviceFile(devFile("report.doc")), "report 3 on the train");
        }
    }
}

}  // namespace
}  // namespace vorlan::filesync::testing
