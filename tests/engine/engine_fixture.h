#pragma once
// An engine on real files in a fresh folder, driven by a scripted front end.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine.h"
#include "scripted_front_end.h"
#include "temp_dir.h"

namespace sorv::test {

class EngineOnDisk : public ::testing::Test {
protected:
    TempDir dir;
    ScriptedFrontEnd ui;
    Engine engine{ui, NativeFileSystem()};

    std::string Slice(const std::string& source, int n) const { return engine.SliceFileName(dir.Path(source), n); }
    std::string Script(const std::string& source) const { return engine.ScriptFileName(dir.Path(source)); }

    // Makes a file of `size` pattern bytes and splits it with the given choice.
    std::string SplitNew(const std::string& name, std::size_t size, int choice) {
        const std::string bytes = PatternBytes(size);
        WriteFileBytes(dir.Path(name), bytes);
        ui.dialogChoice = choice;
        EXPECT_EQ(engine.StartSplit(dir.Path(name)), Outcome::Completed);
        return bytes;
    }

    std::vector<std::string> LogFrom(std::size_t first) const {
        return std::vector<std::string>(ui.log.begin() + static_cast<long>(first), ui.log.end());
    }
};

}  // namespace sorv::test
