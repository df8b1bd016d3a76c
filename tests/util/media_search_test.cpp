#include "util_test_support.h"

#include "util/media_search.h"

#include <gtest/gtest.h>
#include <unistd.h>

namespace {

using namespace testing_tree;

class MediaSearch : public testing::Test {
protected:
    // The working folder is three levels below the tree's root and the executable's folder four,
    // so every relative candidate and every step of both upward searches stays inside the tree.
    TempTree tree;
    PrivateRegistry registry{tree};
    std::filesystem::path work = tree.Folder("a/b/work");
    std::filesystem::path exeFolder = tree.Folder("x/y/z/bin");
    PretendedExecutable exe{exeFolder / "viewer.exe"};
    WorkingFolder cwd{work};
    // Unique, so that the folders above the tree (which the upward searches reach) hold no copy.
    std::string name = "quillerby-asset-" + std::to_string(::getpid()) + ".dat";

    std::string Locate(HRESULT expected, int capacity = MAX_PATH) {
        char dest[MAX_PATH];
        EXPECT_EQ(LocateMediaFile(dest, capacity, name.c_str()), expected);
        return dest;
    }
};

TEST_F(MediaSearch, TriesTheCandidatesThenTheUpwardSearchesInOrder) {
    RecordSdkSamplesPath(PlatformForm(tree.Folder("sdk")));
    const std::string d = PlatformForm(exeFolder);
    const std::string root = PlatformForm(tree.Root());
    const struct {
        std::string file; // below the tree's root
        std::string expected;
    } order[] = {
        {"a/b/work/" + name, name},
        {"a/b/" + name, "..\\" + name},
        {"a/" + name, "..\\..\\" + name},
        {"x/y/z/bin/" + name, d + "\\" + name},
        {"x/y/z/" + name, d + "\\..\\" + name},
        {"x/y/" + name, d + "\\..\\..\\" + name},
        {"x/y/z/viewer/" + name, d + "\\..\\viewer\\" + name},
        {"x/y/viewer/" + name, d + "\\..\\..\\viewer\\" + name},
        {"sdk/Media/" + name, root + "\\sdk\\Media\\" + name},
        {"a/b/work/media/" + name, "media\\" + name},
        {"x/y/media/" + name, d + "\\..\\..\\media\\" + name},
        {"sdk/Media/media/" + name, root + "\\sdk\\Media\\media\\" + name},
        {name, root + "\\" + name},                        // above the working folder
        {"x/" + name, root + "\\x\\" + name},              // above the executable's folder
        {"media/" + name, root + "\\media\\" + name},      // media, above the working folder
        {"x/media/" + name, root + "\\x\\media\\" + name}, // media, above the executable's
    };
    for (const auto& entry : order) {
        tree.File(entry.file);
    }
    for (const auto& entry : order) {
        EXPECT_EQ(Locate(S_OK), entry.expected);
        std::filesystem::remove(tree.Root() / entry.file);
    }
    EXPECT_EQ(Locate(E_FAIL), name) << "nothing left: the bare name";
}

TEST_F(MediaSearch, ANameInTheWorkingFolderWinsAndFoldersCountAsFound) {
    tree.Folder("a/b/work/" + name);
    tree.File("x/y/z/bin/" + name);
    EXPECT_EQ(Locate(S_OK), name);
}

TEST_F(MediaSearch, MediaThreeFoldersAboveTheExecutableIsFoundByTheLastSearch) {
    // Three folders above the executable's folder no candidate reaches; only the upward search
    // from that folder for "media\\name" does.
    tree.File("x/media/" + name);
    EXPECT_EQ(Locate(S_OK), PlatformForm(tree.Root() / "x/media") + "\\" + name);
}

TEST_F(MediaSearch, RejectsBadArgumentsAndRunsFromCapacityTen) {
    char dest[MAX_PATH];
    EXPECT_EQ(LocateMediaFile(dest, 9, "a"), E_INVALIDARG);
    EXPECT_EQ(LocateMediaFile(dest, MAX_PATH, ""), E_INVALIDARG);
    EXPECT_EQ(LocateMediaFile(dest, MAX_PATH, nullptr), E_INVALIDARG);
    EXPECT_EQ(LocateMediaFile(nullptr, MAX_PATH, "a"), E_INVALIDARG);

    name = "n.dat";
    EXPECT_EQ(Locate(E_FAIL, 10), "n.dat");
    tree.File("a/b/work/n.dat");
    EXPECT_EQ(Locate(S_OK, 10), "n.dat");
    EXPECT_EQ(LocateMediaFileBytes(dest, 9, "n.dat"), E_INVALIDARG);
    EXPECT_EQ(LocateMediaFileBytes(dest, 10, "n.dat"), S_OK);
}

TEST_F(MediaSearch, ACandidateThatDoesNotFitIsNotTestedInItsCutForm) {
    // Cut to nine characters, the name would be the folder that exists here.
    name = "abcdefghi-long.dat";
    tree.Folder("a/b/work/abcdefghi");
    EXPECT_EQ(Locate(E_FAIL, 10), "abcdefghi");
    // An upward hit that does not fit the destination is passed over too.
    tree.File(name);
    EXPECT_EQ(Locate(E_FAIL, 20), "abcdefghi-long.dat");
    EXPECT_EQ(Locate(S_OK), PlatformForm(tree.Root()) + "\\" + name);
}

class SdkMediaFolder : public testing::Test {
protected:
    TempTree tree;
    PrivateRegistry registry{tree};
};

TEST_F(SdkMediaFolder, IsTheRecordedFolderWithMediaAppended) {
    char dest[MAX_PATH] = "stale";
    EXPECT_EQ(QuerySdkMediaFolder(dest, MAX_PATH), E_FAIL);
    EXPECT_STREQ(dest, "") << "no SDK recorded";

    RecordSdkSamplesPath("C:\\SDK");
    EXPECT_EQ(QuerySdkMediaFolder(dest, MAX_PATH), S_OK);
    EXPECT_STREQ(dest, "C:\\SDK\\Media\\");
    EXPECT_EQ(QuerySdkMediaFolderBytes(dest, MAX_PATH), S_OK);
    EXPECT_EQ(QuerySdkMediaFolder(dest, 0), E_INVALIDARG);
    EXPECT_EQ(QuerySdkMediaFolder(nullptr, MAX_PATH), E_INVALIDARG);
}

TEST_F(SdkMediaFolder, TheMediaEndingMustFitWithItsTerminator) {
    constexpr int kCapacity = 40;
    char dest[kCapacity];
    RecordSdkSamplesPath(std::string(kCapacity - 8, 'p'));
    EXPECT_EQ(QuerySdkMediaFolder(dest, kCapacity), S_OK);
    EXPECT_EQ(std::string(dest), std::string(kCapacity - 8, 'p') + "\\Media\\");

    RecordSdkSamplesPath(std::string(kCapacity - 7, 'p'));
    EXPECT_EQ(QuerySdkMediaFolder(dest, kCapacity), E_INVALIDARG);
    EXPECT_STREQ(dest, "");
    // Longer than the destination: the registry refuses the read.
    RecordSdkSamplesPath(std::string(kCapacity, 'p'));
    EXPECT_EQ(QuerySdkMediaFolder(dest, kCapacity), E_FAIL);
    EXPECT_STREQ(dest, "");
}

} // namespace
