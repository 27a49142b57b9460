#include "imagetool_fixture.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace corvel::test {
namespace {

namespace fs = std::filesystem;

class ImagetoolListingTest : public ImagetoolCliTest,
                             public testing::WithParamInterface<ImageKind> {};

TEST_P(ImagetoolListingTest, PrintsFoldersAndExactSizesInDirectoryOrder) {
    const fs::path image = makeImage(GetParam());
    writeFile(path("pc/empty.bin"), "");
    writeFile(path("pc/GAME.BAS"), "10 RUN");
    writeFile(path("pc/big.dat"), std::string(70000, 'x'));
    writeFile(path("pc/my file.v1.txt"), "abc");
    toolOk({"put", image, path("pc/empty.bin"), "empty.bin"});
    toolOk({"put", image, path("pc/GAME.BAS"), "GAME.BAS"});
    toolOk({"mkdir", image, "/GAMES"});
    toolOk({"put", image, path("pc/big.dat"), "/GAMES/big.dat"});
    toolOk({"put", image, path("pc/my file.v1.txt"), "my file.v1.txt"});

    EXPECT_EQ(toolOk({"ls", image, ""}),
              "0\tempty.bin\n6\tGAME.BAS\n[DIR]\tGAMES\n3\tmy file.v1.txt\n");
    EXPECT_EQ(toolOk({"ls", image, "/GAMES"}), "70000\tbig.dat\n");
    EXPECT_EQ(toolOk({"ls", image, "/games/"}), "70000\tbig.dat\n") << "case-insensitive, / ok";
}

TEST_P(ImagetoolListingTest, ListsHiddenSystemAndReadOnlyEntries) {
    const fs::path image = makeImage(GetParam());
    writeFile(path("pc/secret.sys"), "s");
    toolOk({"put", image, path("pc/secret.sys"), "secret.sys"});
    toolOk({"mkdir", image, "/Hidden Folder"});
    const std::string offset = GetParam() == ImageKind::Partitioned ? "@@1048576" : "";
    const RunResult hidden =
        mtools("mattrib", {"-i", image.string() + offset, "+h", "+s", "+r", "::/secret.sys"});
    ASSERT_EQ(hidden.exitCode, 0) << hidden.err;
    ASSERT_EQ(mtools("mattrib", {"-i", image.string() + offset, "+h", "::/Hidden Folder"}).exitCode,
              0);

    EXPECT_EQ(toolOk({"ls", image, ""}), "1\tsecret.sys\n[DIR]\tHidden Folder\n");
}

// Each name goes in with put, must be listed byte for byte, and come back out with get.
TEST_P(ImagetoolListingTest, NamesRoundTripExactly) {
    const fs::path image = makeImage(GetParam());
    const std::vector<std::string> names = {
        "my file.v1.txt",     // blanks and several dots
        "Ünïcode name é.txt", // non-ASCII long name
        "É.TXT",              // a valid 8.3 name, stored in the DOS code page
        "Mixed.Bas",          // case kept through the long name
        "lower.bas",          // 8.3 but lower case: kept through the case flags
        "café.bas",           // the same, with a letter outside ASCII
        "several.dots.in.tar.gz",
        "日本語.txt",
        "Game [1].bas", // mtools would take [1] as a wildcard class
        "a;b $(touch pwned) 'q' `x`.txt",
    };
    std::string expected;
    for (std::size_t i = 0; i < names.size(); ++i) {
        const std::string content = "content " + std::to_string(i);
        writeFile(path("in") / names[i], content);
        toolOk({"put", image, (path("in") / names[i]).string(), "/" + names[i]});
        expected += std::to_string(content.size()) + "\t" + names[i] + "\n";
    }

    EXPECT_EQ(toolOk({"ls", image, ""}), expected);
    fs::create_directories(path("out"));
    for (const auto& name : names) {
        toolOk({"get", image, "/" + name, (path("out") / name).string()});
    }
    EXPECT_EQ(describeTree(path("out")), describeTree(path("in")));
    EXPECT_FALSE(fs::exists("pwned"));
    EXPECT_FALSE(fs::exists(path("pwned")));
}

INSTANTIATE_TEST_SUITE_P(Images, ImagetoolListingTest,
                         testing::Values(ImageKind::BareFat16, ImageKind::BareFat32,
                                         ImageKind::Partitioned),
                         [](const auto& info) { return imageKindName(info.param); });

// The front end reads ls output line by line; a failure must be one "Error" line on
// stdout with no TAB, which would make it look like a file entry.
TEST_F(ImagetoolCliTest, FailedListIsOneErrorLineOnStdout) {
    const fs::path image = makeImage(ImageKind::BareFat16);
    writeFile(path("pc/file.txt"), "x");
    toolOk({"put", image, path("pc/file.txt"), "file.txt"});
    toolOk({"mkdir", image, "/A"});
    writeFile(path("notes.txt"), "just some text, not a disk image\n");
    writeFile(path("zeros.img"), std::string(1 << 20, '\0'));

    struct Case {
        std::string image;
        std::string folder;
        std::string mentions;
    };
    const std::vector<Case> cases = {
        {path("missing.img"), "", "missing.img"},
        {path("notes.txt"), "", "not a FAT image"},
        {path("zeros.img"), "", "not a FAT image"},
        {image, "/NOPE", "/NOPE"},
        {image, "/A/B", "/A/B"},
        {image, "/file.txt", "not a folder"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.image + " " + c.folder);
        const RunResult result = tool({"ls", c.image, c.folder});
        EXPECT_NE(result.exitCode, 0);
        ASSERT_FALSE(result.out.empty());
        EXPECT_EQ(result.out.find('\n'), result.out.size() - 1) << "exactly one line";
        EXPECT_EQ(result.out.rfind("Error", 0), 0u) << result.out;
        EXPECT_EQ(result.out.find('\t'), std::string::npos);
        EXPECT_NE(result.out.find(c.mentions), std::string::npos) << result.out;
    }
}

} // namespace
} // namespace corvel::test
