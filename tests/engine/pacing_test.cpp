// The message runs inside a copy, on a fake clock: a slow device (the fault
// file system moving the clock as bytes pass) never keeps the window from its
// messages for more than 100 ms, and what the user sees after each slice is
// as before: one log line per slice, the same progress positions, a stop
// acted on with the same clean-up.
#include <gtest/gtest.h>

#include <algorithm>

#include "engine.h"
#include "faulty_file_system.h"
#include "memory_file_system.h"
#include "pump_cadence.h"
#include "scripted_front_end.h"

namespace sorv::test {
namespace {

constexpr std::int64_t kLongestStall = 100'000;  // microseconds

TEST(PieceSizer, PiecesTakeAboutTheTargetTimeOnEveryDevice) {
    // Bytes per second: a floppy, a slow and a fast USB stick, a disk from the cache.
    for (const double speed : {30e3, 1e6, 20e6, 2e9}) {
        SCOPED_TRACE(speed);
        PieceSizer sizer;
        std::int64_t longest = 0;
        for (int piece = 0; piece < 40; ++piece) {
            const std::uint64_t bytes = sizer.Next();
            const auto elapsed = static_cast<std::int64_t>(static_cast<double>(bytes) * 1e6 / speed);
            longest = std::max(longest, elapsed);
            sizer.Took(bytes, elapsed);
            EXPECT_EQ(sizer.Next() % PieceSizer::kSmallest, 0u);
        }
        EXPECT_LE(longest, kLongestStall);
        // Fast devices are not held back by tiny pieces.
        const auto settled = static_cast<std::int64_t>(static_cast<double>(sizer.Next()) * 1e6 / speed);
        if (speed > 1e6) {
            EXPECT_GE(settled, PieceSizer::kTarget / 2);
        }
    }
    PieceSizer sizer;
    sizer.Took(0, 50'000);  // nothing moved says nothing
    EXPECT_EQ(sizer.Next(), PieceSizer::kFirst);
}

// An engine on memory files behind a device of 1 MB/s: 1.4 s a slice.
class SlowDevice : public ::testing::Test {
protected:
    MemoryFileSystem memory;
    FaultyFileSystem fs{memory};
    ScriptedFrontEnd ui;
    Engine engine{ui, fs, kWindowsPaths};
    std::vector<std::int64_t> runTimes;
    const std::string source = "E:\\cle\\archive.zip";

    SlowDevice() {
        ui.clock = 0;
        fs.onTransfer = [this](std::uint64_t bytes) { *ui.clock += static_cast<std::int64_t>(bytes); };
        ui.onMessageRun = [this] { runTimes.push_back(*ui.clock); };
        memory.AddPatternFile(source, 3'000'000);
        ui.dialogChoice = 4;  // 1.4 Mo
    }

    std::int64_t LongestGap(std::int64_t end) const {
        std::int64_t longest = 0, last = 0;
        for (const std::int64_t t : runTimes) longest = std::max(longest, t - std::exchange(last, t));
        return std::max(longest, end - last);
    }

    std::vector<std::string> SliceLines() const {
        std::vector<std::string> lines;
        for (const auto& line : ui.log)
            if (line.ends_with("octet(s)") && line.find("\u00b0") != std::string::npos) lines.push_back(line);
        return lines;
    }
};

TEST_F(SlowDevice, ASplitAndAJoinRunMessagesEvery100MsAtMostAndShowWhatTheyShowedBefore) {
    ASSERT_EQ(engine.StartSplit(source), Outcome::Completed);
    EXPECT_LE(LongestGap(*ui.clock), kLongestStall);
    EXPECT_GT(ui.messageRuns, 50);  // 6 s of copying
    const std::string slice1 = engine.SliceFileName(source, 1);
    EXPECT_EQ(SliceLines(), (std::vector<std::string>{slice1 + ": 1433600 octet(s)",
                                                      engine.SliceFileName(source, 2) + ": 1433600 octet(s)",
                                                      engine.SliceFileName(source, 3) + ": 132800 octet(s)"}));
    // The bar moves in whole blocks, and stands where it always did after each slice.
    const auto& positions = ui.positionsAtMessageRuns;
    EXPECT_TRUE(std::is_sorted(positions.begin(), positions.end()));
    for (const std::int64_t p : positions) EXPECT_TRUE(p % 2048 == 0 || p == ui.progressMax) << p;
    for (const std::int64_t p : {1433600, 2867200})
        EXPECT_NE(std::find(positions.begin(), positions.end(), p), positions.end()) << p;
    EXPECT_EQ(positions.back(), 3'000'000);  // the last slice's steps, at the maximum

    memory.Delete(source);
    runTimes.clear();
    const std::int64_t joinStart = *ui.clock;
    ui.answers = {Answer::No};  // the slices stay
    ASSERT_EQ(engine.StartJoin(engine.ScriptFileName(source)), Outcome::Completed);
    for (std::int64_t& t : runTimes) t -= joinStart;
    EXPECT_LE(LongestGap(*ui.clock - joinStart), kLongestStall);
    EXPECT_EQ(SliceLines().size(), 6u);
    EXPECT_TRUE(memory.HoldsPatternPrefix(source, 3'000'000));
}

TEST_F(SlowDevice, AStopAskedInsideTheFirstSliceEndsTheSplitAtOnceWithTheSameCleanUp) {
    ui.onMessageRun = [this] {
        if (ui.messageRuns != 3) return;  // inside slice 1
        ui.answers = {Answer::Yes};
        engine.EscapePressed();
    };
    EXPECT_EQ(engine.StartSplit(source), Outcome::Stopped);
    EXPECT_LT(*ui.clock, 1'433'600);  // slice 1 was not finished
    EXPECT_TRUE(SliceLines().empty());
    EXPECT_EQ(ui.log.back(), "Arr\u00eat.");
    EXPECT_EQ(memory.Names(), std::vector<std::string>{source});
    EXPECT_FALSE(engine.state.Busy);
    EXPECT_FALSE(engine.state.CancelRequested);
    EXPECT_EQ(ui.progressPosition, 0);
}

TEST_F(SlowDevice, AStopAskedInsideASliceOfAJoinRemovesThePartialFileAndKeepsTheSlices) {
    ASSERT_EQ(engine.StartSplit(source), Outcome::Completed);
    memory.Delete(source);
    const std::vector<std::string> kept = memory.Names();
    const int runsBefore = ui.messageRuns;
    ui.onMessageRun = [&] {
        if (ui.messageRuns != runsBefore + 4) return;
        ui.answers = {Answer::Yes};
        engine.EscapePressed();
    };
    ui.log.clear();
    EXPECT_EQ(engine.StartJoin(engine.ScriptFileName(source)), Outcome::Stopped);
    EXPECT_EQ(ui.log.back(), "Arr\u00eat.");
    EXPECT_TRUE(SliceLines().empty());
    EXPECT_EQ(memory.Names(), kept);
    EXPECT_FALSE(engine.state.Busy);
}

// Recovery slices written in bands read a little of every slice back for
// each band, and a repair reads many small slices: each copy too short to
// run the messages inside, they still run as often, and a stop asked there
// is one.
TEST_F(SlowDevice, ManySmallReadsStillRunMessagesAsOften) {
    memory.Delete(source);
    memory.AddPatternFile(source, 200 * 4096);
    engine.RecoveryMemory = 2 * 1024;  // bands of 1,024 bytes
    const auto split = [&] {
        engine.state.SourceSize = 200 * 4096;
        engine.state.SliceSize = 4096;
        engine.state.SliceCount = 200;
        engine.state.Recovery = {2, 0};
        engine.PrepareSplit(source);
    };
    split();
    ASSERT_EQ(ui.log.back(), "...Ok");
    EXPECT_LE(LongestGap(*ui.clock), kLongestStall);

    memory.Delete(engine.SliceFileName(source, 7));
    runTimes.clear();
    const std::int64_t repairStart = *ui.clock;
    ASSERT_EQ(engine.RepairSet(engine.ScriptFileName(source)), Outcome::Completed);
    for (std::int64_t& t : runTimes) t -= repairStart;
    EXPECT_LE(LongestGap(*ui.clock - repairStart), kLongestStall);

    for (const std::string& name : memory.Names())
        if (name != source) memory.Delete(name);
    // Stopped at the first run after the one that follows the last slice.
    const std::string lastSlice = engine.SliceFileName(source, 200) + ": 4096 octet(s)";
    std::int64_t lastSliceAt = -1, stoppedAt = -1;
    ui.onMessageRun = [&] {
        if (ui.log.back() != lastSlice || stoppedAt >= 0) return;
        if (lastSliceAt < 0) {
            lastSliceAt = *ui.clock;
            return;
        }
        stoppedAt = *ui.clock;
        ui.answers = {Answer::Yes};
        engine.EscapePressed();
    };
    split();
    EXPECT_LT(stoppedAt - lastSliceAt, 200 * 1024);  // inside the first band read back
    EXPECT_EQ(ui.log.back(), "Arr\u00eat.");
    EXPECT_EQ(memory.Names(), std::vector<std::string>{source});
}

}  // namespace
}  // namespace sorv::test
