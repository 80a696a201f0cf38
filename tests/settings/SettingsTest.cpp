#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <vector>

#include "settings/Labels.h"
#include "settings/Settings.h"
#include "settings/System.h"
#include "tests/support/TestPaths.h"

namespace {

TEST(Settings, LanguageEntryChoosesTheSkinFolder) {
    struct Case {
        const char* file;  // null: no config.ini at all
        int language;
        const char* folder;
    } cases[] = {
        {"[Set]\nLanguage=1\n", 1, "skin/ConifgRes"},
        {"[Set]\nLanguage=2\n", 2, "skin/ConifgRes"},
        {"[set]\nlanguage = 1\n", 1, "skin/ConifgRes"},
        {"[Set]\nLanguage=0\n", 0, "skin/ConifgENRes"},
        {"[Set]\nLanguage=abc\n", 0, "skin/ConifgENRes"},
        {"[Set]\nLanguage=\n", 0, "skin/ConifgENRes"},
        {"[Other]\nLanguage=1\n", 0, "skin/ConifgENRes"},
        {"[Set]\nLanguage=7 apples\n", 7, "skin/ConifgRes"},
        {nullptr, 0, "skin/ConifgENRes"},
    };
    for (const Case& c : cases) {
        std::string dir = testpaths::TempDir() + "/";
        if (c.file) testpaths::WriteFile(dir + "config.ini", c.file);
        int language = ReadLanguageSetting(dir + "config.ini");
        EXPECT_EQ(language, c.language) << (c.file ? c.file : "(no file)");
        EXPECT_EQ(SkinFolder(dir, language), dir + c.folder) << (c.file ? c.file : "(no file)");
    }
}

TEST(Settings, ConfigLivesBesideTheProgramOnlyWhenThatFolderIsWritable) {
    std::string writable = testpaths::TempDir() + "/";
    EXPECT_EQ(ConfigIniPath(writable), writable + "config.ini");

    std::string xdg = testpaths::TempDir();
    setenv("XDG_CONFIG_HOME", xdg.c_str(), 1);
    std::string path = ConfigIniPath("/nonexistent-folder/");
    unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(path, xdg + "/dtuconfig/config.ini");
    EXPECT_TRUE(std::filesystem::is_directory(xdg + "/dtuconfig"));
}

// The environment variables the rule reads, put back as they were.
class SavedVariables {
  public:
    explicit SavedVariables(std::vector<const char*> names) : names_(std::move(names)) {
        for (const char* name : names_) {
            const char* value = std::getenv(name);
            saved_.emplace_back(value ? std::optional<std::string>(value) : std::nullopt);
        }
    }
    ~SavedVariables() {
        for (std::size_t i = 0; i < names_.size(); ++i) {
            if (saved_[i])
                setenv(names_[i], saved_[i]->c_str(), 1);
            else
                unsetenv(names_[i]);
        }
    }
    // Sets the variable, or removes it for null.
    static void Set(const char* name, const char* value) {
        if (value)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }

  private:
    std::vector<const char*> names_;
    std::vector<std::optional<std::string>> saved_;
};

TEST(Settings, OneRuleForTheUsersFoldersAndNoneWithoutAHome) {
    SavedVariables saved({"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME"});
    const struct {
        const char* home;
        const char* xdg;  // XDG_CONFIG_HOME and XDG_DATA_HOME alike
        const char* config;
        const char* data;
    } cases[] = {
        {"/home/e", nullptr, "/home/e/.config/dtuconfig/", "/home/e/.local/share/dtuconfig/"},
        {"/home/e", "/x", "/x/dtuconfig/", "/x/dtuconfig/"},
        {"/home/e", "relative", "/home/e/.config/dtuconfig/", "/home/e/.local/share/dtuconfig/"},
        {nullptr, "/x", "/x/dtuconfig/", "/x/dtuconfig/"},
        // A service without HOME: no folder at all, never one under "/" or /tmp.
        {nullptr, nullptr, "", ""},
        {"", "relative", "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("HOME=") + (c.home ? c.home : "(unset)") +
                     " XDG=" + (c.xdg ? c.xdg : "(unset)"));
        SavedVariables::Set("HOME", c.home);
        SavedVariables::Set("XDG_CONFIG_HOME", c.xdg);
        SavedVariables::Set("XDG_DATA_HOME", c.xdg);
        std::string why;
        EXPECT_EQ(sys::UserFolderPath(sys::UserFolderKind::Config, &why), c.config);
        EXPECT_EQ(sys::UserFolderPath(sys::UserFolderKind::Data, &why), c.data);
        EXPECT_EQ(why.empty(), *c.data != 0) << why;
        if (!*c.config) {
            EXPECT_EQ(ConfigIniPath("/nonexistent-folder/"), "");
        }
    }
}

TEST(Settings, AnInstalledProgramReadsItsShareFolderAndKeepsItsSettingsUnderXdg) {
    namespace fs = std::filesystem;
    const std::string xdg = testpaths::TempDir();
    setenv("XDG_CONFIG_HOME", xdg.c_str(), 1);
    struct Case {
        const char* what;
        std::vector<const char*> folders;  // made under a fresh root
        const char* program;               // the executable's folder, under the root
        const char* data;                  // expected data folder, under the root
        bool besideProgram;                // config.ini beside the program, else under XDG
    } cases[] = {
        {"a build folder", {"build/skin/ConifgENRes"}, "build/", "build/", true},
        {"installed",
         {"usr/bin", "usr/share/dtuconfig/skin/ConifgENRes"},
         "usr/bin/",
         "usr/share/dtuconfig/",
         false},
        {"a build folder beside an installed tree",
         {"usr/bin/skin", "usr/share/dtuconfig/skin"},
         "usr/bin/",
         "usr/bin/",
         true},
        {"no skins anywhere", {"opt/x"}, "opt/x/", "opt/x/", true},
    };
    for (const Case& c : cases) {
        const std::string root = testpaths::TempDir() + "/";
        for (const char* folder : c.folders) fs::create_directories(root + folder);
        const std::string program = root + c.program;
        EXPECT_EQ(DataFolder(program), root + c.data) << c.what;
        EXPECT_EQ(IsInstalledLayout(program), !c.besideProgram) << c.what;
        EXPECT_EQ(ConfigIniPath(program),
                  c.besideProgram ? program + "config.ini" : xdg + "/dtuconfig/config.ini")
            << c.what;
    }
    unsetenv("XDG_CONFIG_HOME");
}

TEST(Settings, ALostPortIsReopenedUnlessConfigIniSaysNo) {
    const struct {
        const char* file;  // null: no config.ini at all
        bool reopen;
    } cases[] = {
        {nullptr, true},
        {"[Set]\nLanguage=1\n", true},
        {"[Port]\nReopenLostPort=0\n", false},
        {"[port]\nreopenlostport = 1\n", true},
    };
    for (const auto& c : cases) {
        std::string dir = testpaths::TempDir() + "/";
        if (c.file) testpaths::WriteFile(dir + "config.ini", c.file);
        EXPECT_EQ(ReadReopenSetting(dir + "config.ini"), c.reopen) << (c.file ? c.file : "");
    }
}

TEST(Settings, WrittenLanguageReadsBack) {
    std::string path = testpaths::TempDir() + "/config.ini";
    ASSERT_TRUE(WriteLanguageSetting(path, 1));
    EXPECT_EQ(ReadLanguageSetting(path), 1);
    ASSERT_TRUE(WriteLanguageSetting(path, 0));
    EXPECT_EQ(ReadLanguageSetting(path), 0);
}

TEST(Labels, LookupRulesAndTheTwoHundredByteBuffer) {
    std::string dir = testpaths::TempDir();
    std::string exact(199, 'a');
    std::string longer(250, 'b');
    std::string chinese;  // 70 three-byte characters: the 199th byte is inside the 67th
    for (int i = 0; i < 70; ++i) chinese += "\xE4\xB8\xAD";
    std::string gbk = "a";  // "a" then 110 two-byte characters: 199 bytes end one exactly
    for (int i = 0; i < 110; ++i) gbk += "\xD6\xD0";
    testpaths::WriteFile(dir + "/Language.ini", "[OnStartCom]\nOpen=Open port\nExact=" + exact +
                                                    "\nLong=" + longer + "\nChinese=" + chinese +
                                                    "\nGbk=" + gbk + "\nGbkEven=" + gbk.substr(1) +
                                                    "\n");
    SetLabelFilePath(dir + "/Language.ini");
    struct Case {
        const char* section;
        const char* key;
        const char* suffix;
        std::string expected;
    } cases[] = {
        {"OnStartCom", "Open", nullptr, "Open port"},
        {"OnStartCom", "Open", "\r\n", "Open port\r\n"},
        {"OnStartCom", "OpenNotice", "\r\n", "\r\n"},
        {"OnStartCom", "OpenNotice", nullptr, ""},
        {"NoSection", "Open", nullptr, ""},
        {"OnStartCom", "Exact", nullptr, exact},
        {"OnStartCom", "Long", nullptr, std::string(199, 'b')},
        {"OnStartCom", "Long", "\r\n", std::string(199, 'b') + "\r\n"},
        // Cut before a character that does not fit, never inside it.
        {"OnStartCom", "Chinese", nullptr, chinese.substr(0, 198)},
        {"OnStartCom", "Gbk", nullptr, gbk.substr(0, 199)},
        {"OnStartCom", "GbkEven", nullptr, gbk.substr(1, 198)},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(LabelText(c.section, c.key, c.suffix).str(), c.expected) << c.key;
    }
    SetLabelFilePath(dir + "/missing.ini");
    EXPECT_EQ(LabelText("OnStartCom", "Open", "\r\n").str(), "\r\n");
}

}  // namespace
