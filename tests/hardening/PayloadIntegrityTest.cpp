// A copy of the installer damaged on the way (one byte of a file it carries changed) must write
// nothing and say that it is damaged.
#include "Session.h"

#include "support/NoSystemSha256.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

struct Damage {
    const char* payload;
    const char* path;  // the file the build embedded
};

TEST(PayloadIntegrity, DamagedInstallerWritesNothingAndSaysSo) {
    const Damage damages[] = {
        {"library", TARVO_LIBRARY_PAYLOAD_PATH},
        {"help", TARVO_HELP_PAYLOAD_PATH},
    };
    const std::vector<unsigned char> installer = ReadBytes(WindowsPath(InstallerPath()));
    ASSERT_FALSE(installer.empty());
    for (const Damage& damage : damages) {
        SCOPED_TRACE(damage.payload);
        const std::vector<unsigned char> payload = ReadBytes(damage.path);
        ASSERT_FALSE(payload.empty());
        auto found = std::search(installer.begin(), installer.end(), payload.begin(), payload.end());
        ASSERT_NE(found, installer.end()) << "the payload is not stored as is in the installer";
        ASSERT_EQ(std::search(found + 1, installer.end(), payload.begin(), payload.end()), installer.end())
            << "the payload's bytes occur twice; the damage would be ambiguous";

        std::vector<unsigned char> damaged = installer;
        damaged[(found - installer.begin()) + payload.size() / 2] ^= 0x01;
        TempFolder downloads;
        const std::string copy = downloads / "tarvo-setup.exe";
        WriteBytes(copy, std::string(damaged.begin(), damaged.end()));

        // Were the check missing, the browser would propose this folder and the test confirm it.
        CompilerFolder pb;
        RecordedCompiler recorded(pb.Path());
        InstallerProcess app(copy);
        ASSERT_NE(app.MainWindow(), nullptr);
        ActionRun run = RunAction(app, 1, pb.Path());

        EXPECT_FALSE(run.browserShown) << "the damage is told before anything is asked";
        ASSERT_EQ(run.messages.size(), 1u) << Describe(run);
        EXPECT_EQ(run.messages[0].caption, "Installateur endommag\xE9");
        EXPECT_NE(run.messages[0].text.find("Aucun fichier n'a \xE9t\xE9 \xE9" "crit"), std::string::npos);
        EXPECT_NE(run.messages[0].text.find("T\xE9l\xE9" "chargez l'installateur \xE0 nouveau"), std::string::npos);
        EXPECT_EQ(FolderEntries(pb / "PureLibraries\\UserLibraries\\"), std::vector<std::string>{});
        EXPECT_EQ(FolderEntries(pb / "Help\\"), std::vector<std::string>{});
    }
}

// The check takes the system's SHA-256. Where the system can't compute it, the files can't be
// checked, and unchecked files are not written either.
TEST(PayloadIntegrity, InstallerThatCannotCheckItsFilesWritesNothingAndSaysSo) {
    CompilerFolder pb;
    RecordedCompiler recorded(pb.Path());
    InstallerProcess app;
    ASSERT_NE(app.MainWindow(), nullptr);
    NoSystemSha256 noSha256;
    ASSERT_TRUE(noSha256.Active());
    ActionRun run = RunAction(app, 1, pb.Path());

    EXPECT_FALSE(run.browserShown);
    ASSERT_EQ(run.messages.size(), 1u) << Describe(run);
    EXPECT_EQ(run.messages[0].caption, "V\xE9rification impossible");
    EXPECT_NE(run.messages[0].text.find("Aucun fichier n'a \xE9t\xE9 \xE9" "crit"), std::string::npos);
    EXPECT_EQ(FolderEntries(pb / "PureLibraries\\UserLibraries\\"), std::vector<std::string>{});
    EXPECT_EQ(FolderEntries(pb / "Help\\"), std::vector<std::string>{});
}

}  // namespace
