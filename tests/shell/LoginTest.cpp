#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>

#include "ShellFixture.h"
#include "image/FileReplace.h"
#include "shell/LoginMenu.h"
#include "shell/NewPassword.h"

namespace vantrel::shell {
namespace {

class Login : public ::testing::Test {
protected:
    // One attempt on a freshly opened login screen, as a user makes it.
    bool attempt(const std::string& level, const std::string& password) {
        Cloginmenu screen(f.context);
        screen.setUp();
        EXPECT_TRUE(screen.get<ui::ComboBox>("Login Level").select(level));
        screen.get<ui::Edit>("Password").text = password;
        EXPECT_TRUE(screen.click("ENTER"));
        status = screen.get<ui::Edit>("status").text;
        changeEnabled = screen.get<ui::Button>("Change password?").enabled;
        return f.context.loginLevel != kNotLoggedIn;
    }

    // Logs in at a level, then stores a new password through the new-password screen.
    void changePassword(const std::string& level, const std::string& old,
                        const std::string& replacement) {
        Cloginmenu screen(f.context);
        screen.setUp();
        screen.get<ui::ComboBox>("Login Level").select(level);
        screen.get<ui::Edit>("Password").text = old;
        ASSERT_TRUE(screen.click("ENTER"));
        ASSERT_NE(f.context.loginLevel, kNotLoggedIn);
        f.ui.onRunScreen = [&](ui::Screen& s) {
            EXPECT_EQ(s.title(), "Enter New Password");
            EXPECT_FALSE(s.get<ui::Edit>("New Password").masked);
            s.get<ui::Edit>("New Password").text = replacement;
            EXPECT_TRUE(s.click("Update Password"));
            EXPECT_TRUE(s.closed());
        };
        ASSERT_TRUE(screen.click("Change password?"));
        f.ui.onRunScreen = nullptr;
    }

    std::string stored(const char* name) {
        return f.settings.read(kSettingsSection, name, "<absent>");
    }

    test::ShellFixture f;
    std::string status;
    bool changeEnabled = false;
};

TEST_F(Login, OpensWithStatusOfCurrentLevelFirstEntryAndChangeDisabled) {
    const std::vector<std::pair<uint8_t, std::string>> cases = {
        {kNotLoggedIn, "**Not logged in**"},
        {kUser, "**Logged in as User**"},
        {kService, "**Logged in as Tarvek Service**"},
        {7, "**Not logged in**"}};
    for (const auto& [level, text] : cases) {
        f.context.loginLevel = level;
        Cloginmenu screen(f.context);
        screen.setUp();
        EXPECT_EQ(screen.get<ui::Edit>("status").text, text);
        EXPECT_EQ(screen.get<ui::ComboBox>("Login Level").selectedText(), "user");
        EXPECT_FALSE(screen.get<ui::Button>("Change password?").enabled);
        EXPECT_TRUE(screen.get<ui::Edit>("Password").masked);
    }
}

TEST_F(Login, DefaultPasswordsAreCaseSensitive) {
    EXPECT_TRUE(attempt("user", "qmzv"));
    EXPECT_EQ(f.context.loginLevel, kUser);
    EXPECT_EQ(status, "**Logged in as User**");
    EXPECT_TRUE(changeEnabled);

    EXPECT_TRUE(attempt("Tarvek Service", "w4"));
    EXPECT_EQ(f.context.loginLevel, kService);
    EXPECT_EQ(status, "**Logged in as Tarvek Service**");
    EXPECT_TRUE(f.ui.errors.empty());

    // A password of the other level does not count.
    EXPECT_FALSE(attempt("Tarvek Service", "qmzv"));
    EXPECT_FALSE(attempt("user", "Qmzv"));
    EXPECT_FALSE(attempt("user", "w4"));
}

TEST_F(Login, FailedAttemptLogsOutReportsAndDisablesChange) {
    ASSERT_TRUE(attempt("Tarvek Service", "w4"));
    f.ui.clearRecord();
    EXPECT_FALSE(attempt("Tarvek Service", "W4"));
    EXPECT_EQ(f.context.loginLevel, kNotLoggedIn);
    EXPECT_EQ(status, "**Not logged in**");
    EXPECT_FALSE(changeEnabled);
    EXPECT_EQ(f.ui.errors, std::vector<std::string>{"Incorrect Password entered"});
    EXPECT_EQ(f.ui.sounds, std::vector<ui::Sound>{ui::Sound::Critical});
    EXPECT_EQ(f.context.errorFlags, 0u);  // the report clears the word
}

TEST_F(Login, ServiceChangeStoresOnlyServicePassword) {
    changePassword("Tarvek Service", "w4", "longer than twelve chars");
    EXPECT_EQ(stored("Tarvek Password"), "longer than twelve chars");
    EXPECT_EQ(stored("User Password"), "<absent>");
    EXPECT_TRUE(attempt("user", "qmzv"));
    EXPECT_FALSE(attempt("Tarvek Service", "w4"));
    EXPECT_TRUE(attempt("Tarvek Service", "longer than twelve chars"));
}

TEST_F(Login, UserChangeStoresUserPassword) {
    changePassword("user", "qmzv", "a");
    EXPECT_EQ(stored("User Password"), "a");
    EXPECT_EQ(stored("Tarvek Password"), "<absent>");
    EXPECT_TRUE(attempt("user", "a"));
    EXPECT_FALSE(attempt("user", "qmzv"));
}

TEST_F(Login, ExitLeavesStoreUntouched) {
    f.context.loginLevel = kUser;
    CnewPassword screen(f.context);
    screen.setUp();
    screen.get<ui::Edit>("New Password").text = "other";
    ASSERT_TRUE(screen.click("EXIT"));
    EXPECT_TRUE(screen.closed());
    EXPECT_EQ(f.ui.sounds, std::vector<ui::Sound>{ui::Sound::Menu});
    EXPECT_EQ(stored("User Password"), "<absent>");
}

TEST_F(Login, UnwritableStoreIsReportedNotIgnored) {
    // A store whose folder is a plain file cannot be written, even by root.
    const auto blocker = f.directory() / "blocker";
    std::ofstream(blocker) << "x";
    Settings broken((blocker / "Rudozi Vantrel.ini").string());
    Context context(f.ui, broken);
    context.loginLevel = kUser;
    CnewPassword screen(context);
    screen.setUp();
    screen.get<ui::Edit>("New Password").text = "new";
    ASSERT_TRUE(screen.click("Update Password"));
    EXPECT_TRUE(screen.closed());
    EXPECT_EQ(f.ui.messages, std::vector<std::string>{kPasswordNotStoredText});
}

TEST_F(Login, StoreIsPrivateWhateverIsLeftAtItsTemporaryName) {
    // A readable file left where the store writes its temporary copy, and a link there.
    const auto store = f.directory() / "Rudozi Vantrel.ini";
    const auto temporary =
        f.directory() / image::temporaryFileName("Rudozi Vantrel.ini", ::getpid(), 0);
    const auto elsewhere = f.directory() / "elsewhere";
    namespace fs = std::filesystem;
    for (bool asLink : {false, true}) {
        // The second write finds the store opened up to others, and closes it again.
        if (fs::exists(store)) fs::permissions(store, fs::perms(0644));
        fs::remove(temporary);
        std::ofstream(elsewhere) << "untouched";
        fs::permissions(elsewhere, fs::perms(0644));
        if (asLink)
            fs::create_symlink(elsewhere, temporary);
        else
            fs::copy_file(elsewhere, temporary);
        ASSERT_TRUE(f.settings.write(kSettingsSection, kUserPasswordName, "secret"));
        EXPECT_FALSE(fs::is_symlink(store));
        EXPECT_EQ(fs::status(store).permissions() & fs::perms::all,
                  fs::perms::owner_read | fs::perms::owner_write);
        EXPECT_EQ(fs::is_symlink(temporary), asLink);
        std::ifstream in(elsewhere);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "untouched");
        EXPECT_EQ(f.settings.read(kSettingsSection, kUserPasswordName, ""), "secret");
    }
}

TEST_F(Login, StoreThatCannotBeReadIsNeverReplaced) {
    namespace fs = std::filesystem;
    const fs::path store = f.directory() / "Rudozi Vantrel.ini";
    const std::string held = "[Rudozi Vantrel]\nTarvek Password=s3cret\nPort=/dev/ttyS1\n";
    auto writeStore = [&](const std::string& extra) {
        std::ofstream(store, std::ios::binary) << held << extra;
    };
    std::vector<std::pair<std::string, std::function<void()>>> cases = {
        {"not UTF-8", [&] { writeStore("User Password=\xff\xfe\n"); }},
        {"a NUL byte", [&] { writeStore(std::string(1, '\0')); }},
        {"a folder",
         [&] {
             fs::create_directory(store);
             std::ofstream(store / "inside") << held;
         }},
    };
    if (::geteuid() != 0)  // root reads a file whatever its mode
        cases.emplace_back("no permission", [&] {
            writeStore("");
            fs::permissions(store, fs::perms::none);
        });
    auto snapshot = [&] {
        const fs::path file = fs::is_directory(store) ? store / "inside" : store;
        fs::permissions(file, fs::perms::owner_read, fs::perm_options::add);
        std::ifstream in(file, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    for (const auto& [what, make] : cases) {
        SCOPED_TRACE(what);
        fs::remove_all(store);
        make();
        f.ui.clearRecord();
        changePassword("user", "qmzv", "new");  // the default logs in
        EXPECT_EQ(f.ui.messages, std::vector<std::string>{kPasswordNotStoredText});
        EXPECT_NE(snapshot().find(held), std::string::npos);
    }
}

TEST_F(Login, EmptyPasswordOrOneWithAControlCharacterIsRefused) {
    struct Refused {
        std::string text;
        const char* message;
    };
    for (const Refused& row : {Refused{"abc\r", kPasswordControlCharacterText},
                               Refused{"a\tb", kPasswordControlCharacterText},
                               Refused{"x\x7f", kPasswordControlCharacterText},
                               Refused{std::string("n\0ul", 4), kPasswordControlCharacterText},
                               Refused{"", kPasswordEmptyText}}) {
        f.ui.clearRecord();
        f.context.loginLevel = kUser;
        CnewPassword screen(f.context);
        screen.setUp();
        screen.get<ui::Edit>("New Password").text = row.text;
        ASSERT_TRUE(screen.click("Update Password"));
        EXPECT_FALSE(screen.closed());
        EXPECT_EQ(f.ui.messages, std::vector<std::string>{row.message});
        EXPECT_EQ(stored(kUserPasswordName), "<absent>");
    }
}

}  // namespace
}  // namespace vantrel::shell
