// Rename and Convert on a volume that runs full midway: the plugin keeps its
// bytes and attributes, the user is told why, and no safety copy is left.
#include <gtest/gtest.h>

#include "app/catalogue/plugin_ops.h"
#include "app/windows/main_window.h"
#include "plugin_scenario.h"
#include "tests/support/box_watch.h"

namespace {

constexpr ULONGLONG Page = 4096;

// The small volume mounted around this test executable, as a Windows path
// (Wine shows the Unix root on Z:); empty, with the reason, when there is none.
std::string SmallVolume(std::string &reason) {
    char unixPath[1024] = {};
    if (GetEnvironmentVariableA("QS_SMALL_VOLUME", unixPath, sizeof unixPath) == 0) {
        reason = "QS_SMALL_VOLUME is not set: run the tests through ctest";
        return "";
    }
    std::string path = std::string("Z:") + unixPath;
    std::replace(path.begin(), path.end(), '/', '\\');
    if (FileExists(path + ".skip")) {
        reason = ReadBytes(path + ".skip");
        return "";
    }
    ULARGE_INTEGER total = {};
    if (!GetDiskFreeSpaceExA((path + "\\").c_str(), nullptr, &total, nullptr) ||
        total.QuadPart > 1024 * 1024) {
        reason = "no small volume is mounted on " + path;
        return "";
    }
    return path;
}

ULONGLONG FreeBytes(const std::string &folder) {
    ULARGE_INTEGER free = {};
    GetDiskFreeSpaceExA((folder + "\\").c_str(), &free, nullptr, nullptr);
    return free.QuadPart;
}

// Fills the volume with one more file until exactly pages pages stay free.
bool LeaveFree(const ScratchFolder &folder, ULONGLONG pages) {
    ULONGLONG free = FreeBytes(folder.Path());
    if (free < pages * Page) {
        return false;
    }
    folder.Write("filler", std::string(static_cast<std::size_t>(free - pages * Page), 'f'));
    return FreeBytes(folder.Path()) == pages * Page;
}

// A plugin with size bytes in lines ended by a lone LF.
std::string LfPlugin(const std::string &shown, std::size_t size) {
    std::string text = "<search\n name=\"" + shown + "\"\n method=\"GET\"\n>\n";
    while (text.size() + 20 <= size) {
        text += "# padding\n";
    }
    text += std::string(size - text.size() - 10, '#') + "\n</search>";
    return text;
}

struct VolumeRun {
    std::vector<std::string> shown;
    std::vector<SeenBox> boxes;
    bool back = false;
};

VolumeRun RunOn(const ScratchFolder &volume, const std::function<void()> &operation) {
    VolumeRun run;
    BoxWatch boxes;
    RunPluginScenario(volume.Path() + "\\searchplugins", [&] {
        ForgetFocusAndLatch();
        operation();
        run.shown = ListRows(MainList);
        run.back = BackOnMainList();
    });
    run.boxes = boxes.Boxes();
    return run;
}

void ExpectWriteFailure(const VolumeRun &run, const char *file) {
    ASSERT_EQ(1u, run.boxes.size());
    EXPECT_EQ("Message:", run.boxes[0].caption);
    EXPECT_EQ("warning", run.boxes[0].icon);
    const std::string &text = run.boxes[0].text;
    EXPECT_EQ(0u, text.find(std::string("Could not write ''") + file + "'':")) << text;
    EXPECT_NE(std::string::npos, text.find("The plugin was left unchanged.")) << text;
    EXPECT_TRUE(run.back);
}

} // namespace

TEST(FullVolume, ConvertWithNoRoomLeftKeepsThePluginWhole) {
    std::string reason;
    std::string volume = SmallVolume(reason);
    if (volume.empty()) {
        GTEST_SKIP() << reason;
    }
    ScratchFolder folder("qs_full", "", volume + "\\");
    const std::string plugin = LfPlugin("Alpha", 27922);
    ASSERT_TRUE(WriteBytes(folder.Path() + "\\searchplugins\\a.src", plugin));
    ASSERT_TRUE(LeaveFree(folder, 0));
    VolumeRun run = RunOn(folder, [] { ConvertPlugin(0); });
    EXPECT_TRUE(plugin == ReadBytes(folder.Path() + "\\searchplugins\\a.src"));
    EXPECT_EQ(std::vector<std::string>{"a.src"}, Listing(folder.Path() + "\\searchplugins"));
    ExpectWriteFailure(run, "a.src");
}

TEST(FullVolume, ConvertThatRunsOutOfRoomMidwayPutsTheOldBytesBack) {
    std::string reason;
    std::string volume = SmallVolume(reason);
    if (volume.empty()) {
        GTEST_SKIP() << reason;
    }
    ScratchFolder folder("qs_full", "", volume + "\\");
    const std::string plugin = LfPlugin("Alpha", 27922);
    const std::string path = folder.Path() + "\\searchplugins\\a.src";
    ASSERT_TRUE(WriteBytes(path, plugin));
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE);
    const DWORD attributes = GetFileAttributesA(path.c_str());
    // Room for the safety copy (seven pages) and not one page more: the
    // converted text needs an eighth page of its own.
    ASSERT_TRUE(LeaveFree(folder, 7));
    VolumeRun run = RunOn(folder, [] { ConvertPlugin(0); });
    EXPECT_TRUE(plugin == ReadBytes(path));
    EXPECT_EQ(attributes, GetFileAttributesA(path.c_str()));
    EXPECT_EQ(std::vector<std::string>{"a.src"}, Listing(folder.Path() + "\\searchplugins"));
    EXPECT_EQ(7 * Page, FreeBytes(folder.Path()));
    ExpectWriteFailure(run, "a.src");
}

TEST(FullVolume, RenameWithNoRoomLeftKeepsThePluginAndItsRow) {
    std::string reason;
    std::string volume = SmallVolume(reason);
    if (volume.empty()) {
        GTEST_SKIP() << reason;
    }
    ScratchFolder folder("qs_full", "", volume + "\\");
    const std::string plugin = LfPlugin("Alpha", 2 * Page - 2);
    const std::string path = folder.Path() + "\\searchplugins\\a.src";
    ASSERT_TRUE(WriteBytes(path, plugin));
    ASSERT_TRUE(LeaveFree(folder, 0));
    VolumeRun run = RunOn(folder, [] { RenamePlugin(0, "Alpha with a longer name"); });
    EXPECT_TRUE(plugin == ReadBytes(path));
    EXPECT_EQ(std::vector<std::string>{"Alpha"}, run.shown);
    EXPECT_EQ(std::vector<std::string>{"a.src"}, Listing(folder.Path() + "\\searchplugins"));
    ExpectWriteFailure(run, "a.src");
}
