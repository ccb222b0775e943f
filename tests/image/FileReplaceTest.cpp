#include "image/FileReplace.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace vantrel::image {
namespace {

namespace fs = std::filesystem;

// Both ways of writing: through an unnamed file and through a named one.
class FileReplace : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "replace-XXXXXX").string();
        ASSERT_TRUE(::mkdtemp(pattern.data()));
        folder = pattern;
        savedMask = ::umask(022);
    }
    void TearDown() override {
        ::umask(savedMask);
        fs::remove_all(folder);
    }

    bool replace(const fs::path& path, const std::string& text, mode_t newMode = kNewFileMode) {
        return replaceFile(path.string(), text,
                           ReplaceOptions{.newFileMode = newMode, .namedTemporary = GetParam()});
    }
    static std::string read(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    static mode_t mode(const fs::path& path) {
        struct stat info {};
        ::stat(path.c_str(), &info);
        return info.st_mode & 07777;
    }
    std::vector<std::string> entries() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    fs::path folder;
    mode_t savedMask = 0;
};

TEST_P(FileReplace, NewFilesTakeTheirModeAndExistingFilesKeepTheirs) {
    EXPECT_TRUE(replace(folder / "new.dfg", "new"));
    EXPECT_EQ(mode(folder / "new.dfg"), 0644u);
    EXPECT_TRUE(replace(folder / "private.ini", "secret", 0600));
    EXPECT_EQ(mode(folder / "private.ini"), 0600u);

    for (mode_t kept : {0600u, 0640u, 0664u}) {
        const fs::path target = folder / "kept.dfg";
        std::ofstream(target) << "an older, longer content";
        ::chmod(target.c_str(), kept);
        ASSERT_TRUE(replace(target, "replaced"));
        EXPECT_EQ(read(target), "replaced");
        EXPECT_EQ(mode(target), kept);
    }
    EXPECT_EQ(entries(), (std::vector<std::string>{"kept.dfg", "new.dfg", "private.ini"}));
}

TEST_P(FileReplace, FailureLeavesTheTargetAndNoTemporary) {
    fs::create_directories(folder / "taken.ucf" / "inside");
    EXPECT_FALSE(replace(folder / "taken.ucf", "x"));
    EXPECT_FALSE(replace(folder / "missing" / "x.ucf", "x"));
    EXPECT_FALSE(replace(folder.string() + "/", "x"));
    EXPECT_TRUE(fs::is_directory(folder / "taken.ucf" / "inside"));
    EXPECT_EQ(entries(), std::vector<std::string>{"taken.ucf"});
}

// A save killed part-way leaves its temporary file; the next save of the same
// target removes it, and nothing that a running save or another target owns.
TEST_P(FileReplace, RemovesOnlyStaleTemporariesOfTheSameTarget) {
    const pid_t dead = ::fork();
    if (dead == 0) ::_exit(0);
    ASSERT_GT(dead, 0);
    ::waitpid(dead, nullptr, 0);
    const pid_t running = ::getppid();

    const std::vector<std::string> kept = {
        temporaryFileName("a.dfg", running, 0),                         // a save still in progress
        temporaryFileName("b.dfg", dead, 0),                            // another target's
        "." + std::string("a.dfg.") + std::to_string(dead) + "-x.tmp",  // not one of ours
    };
    for (const auto& name : kept)
        std::ofstream(folder / name) << "leftover";
    std::ofstream(folder / temporaryFileName("a.dfg", dead, 3)) << std::string(20592, 'x');

    ASSERT_TRUE(replace(folder / "a.dfg", "data"));
    std::vector<std::string> expected = kept;
    expected.push_back("a.dfg");
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(entries(), expected);
}

INSTANTIATE_TEST_SUITE_P(Temporary, FileReplace, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Named" : "Unnamed"; });

}  // namespace
}  // namespace vantrel::image
