// Replacing a file whole: what the replacement keeps of the old file.
#include "settings/AtomicFile.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <filesystem>

#include "tests/form/FormFixture.h"

namespace {

namespace fs = std::filesystem;
using testpaths::ReadFile;
using testpaths::WriteFile;

mode_t ModeOf(const std::string& path) {
    struct stat st {};
    stat(path.c_str(), &st);
    return st.st_mode & 0777;
}

TEST(AtomicFile, ReplacesTheContentKeepingPermissionsAndLinks) {
    const std::string dir = testpaths::TempDir();
    WriteFile(dir + "/kept.cfg", "old");
    chmod((dir + "/kept.cfg").c_str(), 0640);
    WriteFile(dir + "/target.cfg", "old");
    fs::create_symlink(dir + "/target.cfg", dir + "/link.cfg");

    std::string error;
    ASSERT_TRUE(ReplaceFileContents(dir + "/kept.cfg", "new", &error)) << error;
    EXPECT_EQ(ReadFile(dir + "/kept.cfg"), "new");
    EXPECT_EQ(ModeOf(dir + "/kept.cfg"), 0640u);

    ASSERT_TRUE(ReplaceFileContents(dir + "/link.cfg", "via link", &error)) << error;
    EXPECT_TRUE(fs::is_symlink(dir + "/link.cfg"));
    EXPECT_EQ(ReadFile(dir + "/target.cfg"), "via link");

    ASSERT_TRUE(ReplaceFileContents(dir + "/fresh.cfg", "", &error)) << error;
    EXPECT_TRUE(fs::exists(dir + "/fresh.cfg"));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 4)
        << "no temporary file is left";

    EXPECT_FALSE(ReplaceFileContents(dir + "/none/x.cfg", "x", &error));
    EXPECT_NE(error.find("No such file"), std::string::npos) << error;
}

// Logs, reports and backups hold a unit's settings: their owner's alone. A new file is never
// made over another.
TEST(AtomicFile, WritesForItsOwnerAloneAndCreatesOnlyWhereNoFileIs) {
    const std::string dir = testpaths::TempDir();
    WriteFile(dir + "/report.json", "old");
    chmod((dir + "/report.json").c_str(), 0644);
    std::string error;
    ASSERT_TRUE(ReplaceFileContents(dir + "/report.json", "new", &error, FileAccess::OwnerOnly))
        << error;
    EXPECT_EQ(ModeOf(dir + "/report.json"), 0600u);

    bool taken = true;
    ASSERT_TRUE(CreateFileContents(dir + "/b.cfg", "first", FileAccess::OwnerOnly, &taken, &error))
        << error;
    EXPECT_FALSE(taken);
    EXPECT_EQ(ModeOf(dir + "/b.cfg"), 0600u);
    EXPECT_FALSE(
        CreateFileContents(dir + "/b.cfg", "second", FileAccess::OwnerOnly, &taken, &error));
    EXPECT_TRUE(taken);
    EXPECT_EQ(ReadFile(dir + "/b.cfg"), "first");
    EXPECT_FALSE(
        CreateFileContents(dir + "/none/b.cfg", "x", FileAccess::OwnerOnly, &taken, &error));
    EXPECT_FALSE(taken);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 2)
        << "no temporary file is left";
}

}  // namespace
