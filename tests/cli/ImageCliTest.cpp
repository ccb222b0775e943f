// vantrel-cli extract, update and password, run as a program against its in-process
// simulated actuator: exit status, output and the file written.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <string>

namespace {

namespace fs = std::filesystem;

struct CliRun {
    int status = -1;
    std::string out;
    std::string err;
};

class ImageCli : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "vantrel-image-cli-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        folder = pattern;
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }

    // Runs the tool with a settings store of its own, no terminal on standard input
    // and a time limit, so a hang fails the test instead of stalling it.
    CliRun run(const std::string& args) {
        const std::string errFile = folder + "/stderr";
        const std::string command = "XDG_CONFIG_HOME='" + folder + "' timeout 60 '" +
                                    VANTREL_CLI_PATH + "' --simulate " + args + " </dev/null 2>'" +
                                    errFile + "'";
        CliRun result;
        FILE* pipe = ::popen(command.c_str(), "r");
        if (!pipe) return result;
        char buffer[512];
        size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
            result.out.append(buffer, n);
        const int status = ::pclose(pipe);
        result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        std::ifstream err(errFile);
        result.err.assign(std::istreambuf_iterator<char>(err), {});
        return result;
    }

    std::string folder;
};

TEST_F(ImageCli, ExtractThenUpdateWithTheFile) {
    const std::string file = folder + "/image.ucf";
    CliRun extract = run("extract -o '" + file + "'");
    EXPECT_EQ(extract.status, 0) << extract.err;
    std::ifstream in(file, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), {});
    EXPECT_EQ(text.substr(0, 6), "DATIM\t");
    EXPECT_NE(text.find("UNUSED2\t"), std::string::npos);

    CliRun update = run("--login user --password qmzv --yes update '" + file + "'");
    EXPECT_EQ(update.status, 0) << update.err;
    // Only the question, answered by --yes: no error and no refusal.
    EXPECT_EQ(std::count(update.err.begin(), update.err.end(), '\n'), 1) << update.err;
}

TEST_F(ImageCli, UpdateThatDoesNotCompleteExitsWithOne) {
    const std::string file = folder + "/image.ucf";
    ASSERT_EQ(run("extract -o '" + file + "'").status, 0);

    CliRun noLogin = run("--yes update '" + file + "'");
    EXPECT_EQ(noLogin.status, 1);
    EXPECT_NE(noLogin.err.find("Incorrect Password entered"), std::string::npos);

    // Without --yes and without a terminal the question is answered No.
    CliRun declined = run("--login user --password qmzv update '" + file + "'");
    EXPECT_EQ(declined.status, 1);
    EXPECT_NE(declined.err.find("update: nothing sent: \"This will over write the WHOLE of the "
                                "EEPROM (including calibration data). Do you want to continue?\" "
                                "was answered No"),
              std::string::npos)
        << declined.err;

    CliRun missing = run("--login user --password qmzv --yes update '" + folder + "/none.ucf'");
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("Could Not Open File"), std::string::npos);
    EXPECT_EQ(missing.err.find("nothing sent"), std::string::npos) << missing.err;

    EXPECT_EQ(run("extract '" + file + "'").status, 2);
    EXPECT_EQ(run("extract -o ''").status, 2);
    EXPECT_FALSE(fs::exists(".ucf"));
}

TEST_F(ImageCli, OutputNamingAFolderIsAUsageError) {
    fs::create_directory(folder + "/DIR");
    fs::create_directory(folder + "/taken.ucf");
    for (const std::string args :
         {"extract -o DIR", "extract -o DIR/", "extract -o new/", "extract -o taken",
          "datalog extract -o DIR", "datalog extract -o DIR/"}) {
        const size_t name = args.find("-o ") + 3;
        const CliRun r = run(args.substr(0, name) + "'" + folder + "/" + args.substr(name) + "'");
        EXPECT_EQ(r.status, 2) << args;
        EXPECT_NE(r.err.find("not a folder"), std::string::npos) << r.err;
    }
    // Nothing written beside the folder or hidden inside it.
    EXPECT_EQ(std::distance(fs::directory_iterator(folder + "/DIR"), {}), 0);
    for (const char* name : {"/DIR.ucf", "/DIR.dfg", "/new"})
        EXPECT_FALSE(fs::exists(folder + name)) << name;
}

TEST_F(ImageCli, PasswordReadAndWrite) {
    CliRun read = run("password read");
    EXPECT_EQ(read.status, 0) << read.err;
    EXPECT_TRUE(std::regex_match(read.out, std::regex("[0-9A-F]{2}h\n"))) << read.out;

    EXPECT_EQ(run("password write 1a").status, 0);
    EXPECT_EQ(run("password write 1G").status, 2);
    EXPECT_EQ(run("password write").status, 2);
}

}  // namespace
