#include "install/BlobWriter.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

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
    UniqueFile holder = HoldOpen(target);
    ASSERT_TRUE(holder);
    DWORD error = WriteBlobToFile(target, Start(), End());
    EXPECT_EQ(error, static_cast<DWORD>(ERROR_SHARING_VIOLATION)) << "the user is told the file is in use";
    holder.reset();
    EXPECT_EQ(Text(ReadBytes(target)), "in use");
    EXPECT_EQ(FolderEntries(folder.Path()), std::vector<std::string>{"Lib_tarvo4"});
}

TEST(BlobWriterTest, TargetThatIsAFolderIsRefused) {
    TempFolder folder;
    MakeFolders(folder / "Lib_tarvo4");
    EXPECT_EQ(WriteBlobToFile(folder / "Lib_tarvo4", Start(), End()), static_cast<DWORD>(ERROR_ACCESS_DENIED));
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

// The last step of an install must not be the one that fails: the temporary file goes wherever
// its target can go.
TEST(BlobWriterTest, TemporaryFileFitsWhereverTheTargetFits) {
    for (const std::string target : {"C:\\PB\\PureLibraries\\UserLibraries\\Lib_tarvo4", "C:\\PB\\Help\\tarvo_lib.chm",
                                     "C:\\PB\\name~", "C:\\PB\\a"}) {
        const std::string temporary = TemporaryPathFor(target);
        const size_t folderEnd = target.find_last_of('\\') + 1;
        EXPECT_EQ(temporary.substr(0, folderEnd), target.substr(0, folderEnd)) << target << ": same folder";
        EXPECT_EQ(temporary.find('\\', folderEnd), std::string::npos) << target;
        EXPECT_LE(temporary.size(), target.size()) << target << " -> " << temporary;
        EXPECT_NE(CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, temporary.c_str(), -1, target.c_str(), -1),
                  CSTR_EQUAL)
            << target << " -> " << temporary;
    }
}

TEST(BlobWriterTest, TargetsUpToTheLongestPathAreWrittenLongerOnesRefused) {
    const struct {
        size_t length;
        bool written;
    } cases[] = {{250, true}, {258, true}, {259, true}, {260, false}, {261, false}};
    for (const auto& c : cases) {
        TempFolder base;
        const std::string folder = MakeFolderOfLength(base.Path(), 220);
        ASSERT_TRUE(FolderExists(folder)) << folder;
        const std::string leaf(c.length - folder.size(), 'f');
        const DWORD error = WriteBlobToFile(folder + leaf, Start(), End());
        if (c.written) {
            EXPECT_EQ(error, static_cast<DWORD>(ERROR_SUCCESS)) << c.length;
            EXPECT_TRUE(Text(ReadBytes(folder + leaf)) == kPayload) << c.length;
            EXPECT_EQ(FolderEntries(folder), std::vector<std::string>{leaf}) << c.length;
        } else {
            EXPECT_EQ(error, static_cast<DWORD>(ERROR_FILENAME_EXCED_RANGE)) << c.length;
            EXPECT_EQ(FolderEntries(folder), std::vector<std::string>{}) << c.length;
        }
    }
}

// A replaced file is still the user's file: hidden stays hidden, a system file stays one. The
// archive attribute marks a file changed since the last backup, which a replaced file is.
TEST(BlobWriterTest, ReplacedFileKeepsTheTargetsAttributes) {
    constexpr DWORD kSeen = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE;
    constexpr DWORD kUsers = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    const struct {
        const char* name;
        DWORD attributes;
    } cases[] = {
        {"hidden", FILE_ATTRIBUTE_HIDDEN},
        {"system", FILE_ATTRIBUTE_SYSTEM},
        {"archive", FILE_ATTRIBUTE_ARCHIVE},
        {"hidden and system", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM},
        {"none of them", FILE_ATTRIBUTE_NORMAL},
    };
    for (const auto& c : cases) {
        TempFolder folder;
        const std::string target = folder / "Lib_tarvo4";
        WriteBytes(target, "old library");
        ASSERT_TRUE(SetFileAttributesA(target.c_str(), c.attributes)) << c.name;
        ASSERT_EQ(GetFileAttributesA(target.c_str()) & kUsers, c.attributes & kUsers) << c.name;
        EXPECT_EQ(WriteBlobToFile(target, Start(), End()), static_cast<DWORD>(ERROR_SUCCESS)) << c.name;
        EXPECT_TRUE(Text(ReadBytes(target)) == kPayload) << c.name;
        EXPECT_EQ(GetFileAttributesA(target.c_str()) & kSeen, (c.attributes & kUsers) | FILE_ATTRIBUTE_ARCHIVE)
            << c.name;
        SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
}

// The installer often runs elevated: a link planted at the temporary name must not make it
// write into the file the link points at.
TEST(BlobWriterTest, LinkAtTheTemporaryNameIsNeverWrittenThrough) {
    TempFolder folder;
    const std::string target = folder / "Lib_tarvo4";
    const std::string other = folder / "someone-else.dat";
    WriteBytes(target, "old library");
    WriteBytes(other, "someone else's file");
    ASSERT_TRUE(CreateHardLinkA(TemporaryPathFor(target).c_str(), other.c_str(), nullptr));
    EXPECT_EQ(WriteBlobToFile(target, Start(), End()), static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_EQ(Text(ReadBytes(other)), "someone else's file");
    EXPECT_TRUE(Text(ReadBytes(target)) == kPayload);
    std::vector<std::string> entries = FolderEntries(folder.Path());
    std::sort(entries.begin(), entries.end());
    EXPECT_EQ(entries, (std::vector<std::string>{"Lib_tarvo4", "someone-else.dat"}));
}

TEST(BlobWriterTest, EmptyBlobMakesAnEmptyFile) {
    TempFolder folder;
    EXPECT_EQ(WriteBlobToFile(folder / "empty", Start(), Start()), static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_TRUE(FileExists(folder / "empty"));
    EXPECT_TRUE(ReadBytes(folder / "empty").empty());
}

}  // namespace
