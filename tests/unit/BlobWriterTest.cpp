#include "install/BlobWriter.h"

#include "platform/UniqueHandle.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

const std::string kPayload = "ERUP" + std::string(70000, 'x') + "end of the new library";

const unsigned char* Start() { return reinterpret_cast<const unsigned char*>(kPayload.data()); }
const unsigned char* End() { return Start() + kPayload.size(); }

std::string Text(const std::vector<unsigned char>& bytes) { return std::string(bytes.begin(), bytes.end()); }

struct WriterCase {
    const char* name;
    std::function<void(const std::string& target)> prepare;  // sets the scene around the target
    DWORD expected;
    std::string expectedContent;  // what the target holds afterwards ("" for no file)
};

TEST(BlobWriterTest, ReplacesTheTargetOrLeavesItAsItWas) {
    const std::string old = "old library, longer than nothing" + std::string(100000, 'o');
    const WriterCase cases[] = {
        {"a new file", [](const std::string&) {}, ERROR_SUCCESS, kPayload},
        {"a longer file is replaced, its old bytes gone",
         [&](const std::string& target) { WriteBytes(target, old); }, ERROR_SUCCESS, kPayload},
        {"a hidden file is replaced",
         [&](const std::string& target) {
             WriteBytes(target, old);
             SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_HIDDEN);
         },
         ERROR_SUCCESS, kPayload},
        {"a system file is replaced",
         [&](const std::string& target) {
             WriteBytes(target, old);
             SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_HIDDEN);
         },
         ERROR_SUCCESS, kPayload},
        {"a read-only file is refused and kept",
         [&](const std::string& target) {
             WriteBytes(target, old);
             SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_READONLY);
         },
         ERROR_ACCESS_DENIED, old},
    };
    for (const WriterCase& c : cases) {
        TempFolder folder;
        const std::string target = folder / "Lib_tarvo4";
        c.prepare(target);
        EXPECT_EQ(WriteBlobToFile(target, Start(), End()), c.expected) << c.name;
        EXPECT_EQ(Text(ReadBytes(target)), c.expectedContent) << c.name;
        EXPECT_EQ(FolderEntries(folder.Path()), std::vector<std::string>{"Lib_tarvo4"}) << c.name;
    }
}

TEST(BlobWriterTest, MissingFolderFailsAndCreatesNothing) {
    TempFolder folder;
    DWORD error = WriteBlobToFile(folder / "Help\\tarvo_lib.chm", Start(), End());
    EXPECT_EQ(error, static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
    EXPECT_TRUE(FolderEntries(folder.Path()).empty());
}

TEST(BlobWriterTest, FileHeldOpenWithoutSharingKeepsItsContent) {
    TempFolder folder;
    const std::string target = folder / "Lib_tarvo4";
    WriteBytes(target, "in use");
    UniqueFile holder(CreateFileA(target.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(holder);
    DWORD error = WriteBlobToFile(target, Start(), End());
    EXPECT_NE(error, static_cast<DWORD>(ERROR_SUCCESS));
    holder.reset();
    EXPECT_EQ(Text(ReadBytes(target)), "in use");
    EXPECT_EQ(FolderEntries(folder.Path()), std::vector<std::string>{"Lib_tarvo4"});
}

TEST(BlobWriterTest, TargetThatIsAFolderIsRefused) {
    TempFolder folder;
    MakeFolders(folder / "Lib_tarvo4");
    EXPECT_NE(WriteBlobToFile(folder / "Lib_tarvo4", Start(), End()), static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_TRUE(FolderExists(folder / "Lib_tarvo4"));
    EXPECT_EQ(FolderEntries(folder.Path()), std::vector<std::string>{"Lib_tarvo4"});
}

TEST(BlobWriterTest, PathPastMaxPathIsRefusedWithoutWritingElsewhere) {
    TempFolder folder;
    std::string deep = folder.Path();
    while (deep.size() < MAX_PATH - 20) {
        deep += std::string(40, 'd') + "\\";
        CreateDirectoryA(deep.c_str(), nullptr);
    }
    EXPECT_EQ(WriteBlobToFile(deep + "Lib_tarvo4", Start(), End()),
              static_cast<DWORD>(ERROR_FILENAME_EXCED_RANGE));
    EXPECT_FALSE(FileExists(deep.substr(0, MAX_PATH - 1)));
}

TEST(BlobWriterTest, EmptyBlobMakesAnEmptyFile) {
    TempFolder folder;
    EXPECT_EQ(WriteBlobToFile(folder / "empty", Start(), Start()), static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_TRUE(FileExists(folder / "empty"));
    EXPECT_TRUE(ReadBytes(folder / "empty").empty());
}

}  // namespace
