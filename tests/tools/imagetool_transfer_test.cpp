#include "imagetool_fixture.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

namespace corvel::test {
namespace {

namespace fs = std::filesystem;

class ImagetoolTransferTest : public ImagetoolCliTest {
protected:
    void SetUp() override {
        ImagetoolCliTest::SetUp();
        m_image = makeImage(ImageKind::Partitioned);
    }

    void makePcTree(const fs::path& root) {
        writeFile(root / "a b.txt", "first");
        writeFile(root / "sub dir/deep/x.BAS", "10 PRINT");
        writeFile(root / "Ünï/ü.txt", "umlaut");
        fs::create_directories(root / "empty");
    }

    fs::path m_image;
};

TEST_F(ImagetoolTransferTest, FolderTreesCopyBothWays) {
    makePcTree(path("tree"));
    toolOk({"mkdir", m_image, "/GAMES"});
    toolOk({"put", m_image, path("tree"), "/GAMES/COPY"});

    EXPECT_EQ(toolOk({"ls", m_image, "/GAMES/COPY"}),
              "5\ta b.txt\n[DIR]\tempty\n[DIR]\tsub dir\n[DIR]\tÜnï\n");
    EXPECT_EQ(toolOk({"ls", m_image, "/GAMES/COPY/sub dir/deep"}), "8\tx.BAS\n");
    EXPECT_EQ(toolOk({"ls", m_image, "/GAMES/COPY/empty"}), "");

    toolOk({"get", m_image, "/GAMES/COPY", path("back").string()});
    EXPECT_EQ(describeTree(path("back")), describeTree(path("tree")));
}

TEST_F(ImagetoolTransferTest, PutReplacesFilesAndMergesIntoExistingFolders) {
    writeFile(path("x.bas"), "old");
    toolOk({"put", m_image, path("x.bas"), "x.bas"});
    writeFile(path("x.bas"), "newer");
    toolOk({"put", m_image, path("x.bas"), "x.bas"});
    EXPECT_EQ(toolOk({"ls", m_image, ""}), "5\tx.bas\n");

    makePcTree(path("tree"));
    toolOk({"put", m_image, path("tree"), "/T"});
    fs::remove_all(path("tree/sub dir"));
    writeFile(path("tree/a b.txt"), "second version");
    writeFile(path("tree/added.txt"), "added");
    toolOk({"put", m_image, path("tree"), "/T"});

    EXPECT_EQ(toolOk({"ls", m_image, "/T"}),
              "14\ta b.txt\n[DIR]\tempty\n[DIR]\tsub dir\n[DIR]\tÜnï\n5\tadded.txt\n")
        << "replaced in place, kept what the PC side no longer has, no nested T/tree";
}

TEST_F(ImagetoolTransferTest, GetReplacesPcFilesAndAcceptsDoubledSlash) {
    writeFile(path("src.bas"), "from image");
    toolOk({"put", m_image, path("src.bas"), "x.bas"});
    writeFile(path("dir/x.bas"), "stale PC copy that is longer");

    toolOk({"get", m_image, "/x.bas", path("dir").string() + "//x.bas"});
    EXPECT_EQ(readFile(path("dir/x.bas")), "from image");

    makePcTree(path("tree"));
    toolOk({"put", m_image, path("tree"), "/T"});
    writeFile(path("back/T/a b.txt"), "stale");
    writeFile(path("back/T/only on pc.txt"), "kept");
    toolOk({"get", m_image, "/T", path("back/T").string()});
    EXPECT_EQ(readFile(path("back/T/a b.txt")), "first");
    EXPECT_EQ(readFile(path("back/T/only on pc.txt")), "kept");
    EXPECT_FALSE(fs::exists(path("back/T/T")));
}

TEST_F(ImagetoolTransferTest, RemovesFilesAndWholeFolderTrees) {
    writeFile(path("x.bas"), "x");
    toolOk({"put", m_image, path("x.bas"), "x.bas"});
    makePcTree(path("tree"));
    toolOk({"put", m_image, path("tree"), "/Tree [1]"});
    toolOk({"put", m_image, path("x.bas"), "/Tree [1]/sub dir/deep/y.bas"});

    toolOk({"rm", m_image, "/Tree [1]/sub dir/deep/y.bas"});
    EXPECT_EQ(toolOk({"ls", m_image, "/Tree [1]/sub dir/deep"}), "8\tx.BAS\n");
    toolOk({"rm", m_image, "/Tree [1]"});
    toolOk({"rm", m_image, "x.bas"});
    EXPECT_EQ(toolOk({"ls", m_image, ""}), "");
}

TEST_F(ImagetoolTransferTest, MakesNestedFoldersAndToleratesExistingOnes) {
    toolOk({"mkdir", m_image, "/A"});
    toolOk({"mkdir", m_image, "/A/B c"});
    toolOk({"mkdir", m_image, "/A/B c"});
    writeFile(path("f.txt"), "f");
    toolOk({"put", m_image, path("f.txt"), "/A/B c/f.txt"});

    EXPECT_EQ(toolOk({"ls", m_image, "/A"}), "[DIR]\tB c\n");
    EXPECT_EQ(toolOk({"ls", m_image, "/A/B c"}), "1\tf.txt\n");
}

TEST_F(ImagetoolTransferTest, FailuresExitNonZeroWithAnErrorLine) {
    writeFile(path("f.txt"), "f");
    toolOk({"put", m_image, path("f.txt"), "f.txt"});
    const std::vector<std::vector<std::string>> cases = {
        {"get", m_image, "/missing.bas", path("out.bas")},
        {"get", path("missing.img"), "/f.txt", path("out.bas")},
        {"put", m_image, path("missing.bas"), "x.bas"},
        {"put", m_image, path("f.txt"), "/NOPE/x.bas"},
        {"rm", m_image, "/missing.bas"},
        {"rm", m_image, "/"},
        {"mkdir", m_image, "/NOPE/X"},
        {"mkdir", m_image, "/f.txt"},
        {"mkdir", path("f.txt"), "/X"},
        {"put", m_image, path("f.txt"), "/a:b.txt"}, // mtools would store "b.txt"
        {"mkdir", m_image, "/what?"},
        {"frobnicate", m_image},
        {"get", m_image},
    };
    for (const auto& args : cases) {
        SCOPED_TRACE(args[0] + " " + args.back());
        const RunResult result = tool(args);
        EXPECT_NE(result.exitCode, 0);
        EXPECT_NE((result.err + result.out).find("Error"), std::string::npos);
    }
    EXPECT_FALSE(fs::exists(path("out.bas")));
}

TEST_F(ImagetoolTransferTest, ImageNamesMayHoldBlanksNonAsciiAndAtSigns) {
    const fs::path image = path("my imäge @@1.img");
    toolOk({"create", image, "64M"});
    writeFile(path("f.txt"), "data");
    toolOk({"put", image, path("f.txt"), "f.txt"});
    EXPECT_EQ(toolOk({"ls", image, ""}), "4\tf.txt\n");
    toolOk({"get", image, "f.txt", path("back.txt")});
    EXPECT_EQ(readFile(path("back.txt")), "data");
}

// Sets an environment variable for one test and puts the old value back afterwards.
class ScopedVariable final {
public:
    ScopedVariable(const char* name, const std::string& value) : m_name(name) {
        if (const char* old = std::getenv(name)) {
            m_old = old;
        }
        ::setenv(name, value.c_str(), 1);
    }
    ~ScopedVariable() {
        if (m_old) {
            ::setenv(m_name, m_old->c_str(), 1);
        } else {
            ::unsetenv(m_name);
        }
    }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    const char* m_name;
    std::optional<std::string> m_old;
};

// A desktop session may have a broken ~/.mtoolsrc, a non-UTF-8 locale or mtools variables
// that turn long names off; none of it may reach the mtools commands the tool runs.
TEST_F(ImagetoolTransferTest, IgnoresTheUsersMtoolsSetupAndLocale) {
    writeFile(path("home/.mtoolsrc"), "this is not valid mtools configuration\n");
    const ScopedVariable home("HOME", path("home").string());
    const ScopedVariable locale("LC_ALL", "C");
    const ScopedVariable noVfat("MTOOLS_NO_VFAT", "1");
    const ScopedVariable lowerCase("MTOOLS_LOWER_CASE", "1");

    writeFile(path("in/Ünï Name.txt"), "x");
    toolOk({"put", m_image, path("in/Ünï Name.txt"), "/Ünï Name.txt"});
    toolOk({"put", m_image, path("in/Ünï Name.txt"), "/UPPER.TXT"});
    EXPECT_EQ(toolOk({"ls", m_image, ""}), "1\tÜnï Name.txt\n1\tUPPER.TXT\n");
    toolOk({"get", m_image, "/Ünï Name.txt", path("back.txt")});
    EXPECT_EQ(readFile(path("back.txt")), "x");
}

// Every run here has a stdin that never delivers anything; these are the requests on
// which mtools would otherwise stop and ask.
TEST_F(ImagetoolTransferTest, NeverWaitsForStandardInput) {
    writeFile(path("f.txt"), "one");
    toolOk({"put", m_image, path("f.txt"), "f.txt"});
    toolOk({"mkdir", m_image, "/D"});
    const std::vector<std::vector<std::string>> cases = {
        {"put", m_image, path("f.txt"), "f.txt"},
        {"put", m_image, path("f.txt"), "/D"},
        {"get", m_image, "/f.txt", path("f.txt")},
        {"mkdir", m_image, "/D"},
        {"rm", m_image, "/D"},
    };
    for (const auto& args : cases) {
        SCOPED_TRACE(args[0]);
        const RunResult result = tool(args, std::chrono::seconds(20));
        EXPECT_FALSE(result.timedOut);
        EXPECT_EQ(result.exitCode, 0) << result.err;
    }
    EXPECT_EQ(toolOk({"ls", m_image, ""}), "3\tf.txt\n");
}

} // namespace
} // namespace corvel::test
