#include "imagetool_fixture.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace corvel::test {
namespace {

namespace fs = std::filesystem;

constexpr std::uint64_t kMiB = 1ull << 20;
constexpr std::uint64_t kSector = 512;

std::uint32_t le32(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    return bytes[at] | (bytes[at + 1] << 8) | (bytes[at + 2] << 16) |
           (static_cast<std::uint32_t>(bytes[at + 3]) << 24);
}

std::string fatTypeLabel(const fs::path& image, std::uint64_t volumeOffset) {
    const auto boot = readBytes(image, volumeOffset, kSector);
    const bool fat32 = boot[0x16] == 0 && boot[0x17] == 0;
    const std::size_t at = fat32 ? 0x52 : 0x36;
    return std::string(boot.begin() + at, boot.begin() + at + 8);
}

std::uint64_t allocatedBytes(const fs::path& file) {
    struct stat info {};
    ::stat(file.c_str(), &info);
    return static_cast<std::uint64_t>(info.st_blocks) * 512;
}

struct Layout {
    std::vector<std::string> options;
    std::string size;
    std::uint64_t bytes;
    int partitionType; // 0: bare volume
    std::string fatLabel;
};

TEST_F(ImagetoolCliTest, CreateLaysOutPartitionedAndBareImages) {
    const std::vector<Layout> layouts = {
        {{}, "64M", 64 * kMiB, 0x06, "FAT16   "},
        {{"--fat32"}, "64m", 64 * kMiB, 0x0B, "FAT32   "},
        {{}, "600M", 600 * kMiB, 0x0B, "FAT32   "},
        {{"--bare"}, "65536K", 64 * kMiB, 0, "FAT16   "},
        {{"--fat16", "--bare"}, "600MiB", 600 * kMiB, 0, "FAT16   "},
        {{"--bare", "--fat32"}, "1G", 1024 * kMiB, 0, "FAT32   "},
    };
    for (const auto& layout : layouts) {
        SCOPED_TRACE(layout.size + (layout.options.empty() ? "" : " " + layout.options[0]));
        const fs::path image = path("new.img");
        std::vector<std::string> args = {"create", image, layout.size};
        args.insert(args.end(), layout.options.begin(), layout.options.end());
        toolOk(args);

        EXPECT_EQ(fs::file_size(image), layout.bytes);
        const auto mbr = readBytes(image, 0, kSector);
        const std::uint64_t volume = layout.partitionType == 0 ? 0 : kMiB;
        if (layout.partitionType != 0) {
            EXPECT_EQ(mbr[0x1BE + 4], layout.partitionType);
            EXPECT_EQ(le32(mbr, 0x1BE + 8), 2048u);
            EXPECT_EQ(le32(mbr, 0x1BE + 12), (layout.bytes - kMiB) / kSector);
            EXPECT_EQ(mbr[510], 0x55);
            EXPECT_EQ(mbr[511], 0xAA);
        }
        EXPECT_EQ(fatTypeLabel(image, volume), layout.fatLabel);
        EXPECT_EQ(toolOk({"ls", image, ""}), "");
        fs::remove(image);
    }
}

TEST_F(ImagetoolCliTest, FiveGigabyteImageIsSparseAndUsable) {
    const fs::path image = path("big.img");
    toolOk({"create", image, "5G"});
    EXPECT_EQ(fs::file_size(image), 5 * 1024 * kMiB);
    EXPECT_LT(allocatedBytes(image), 64 * kMiB);
    EXPECT_EQ(readBytes(image, 0x1BE + 4, 1)[0], 0x0B);

    writeFile(path("f.txt"), "five");
    toolOk({"mkdir", image, "/GAMES"});
    toolOk({"put", image, path("f.txt"), "/GAMES/f.txt"});
    EXPECT_EQ(toolOk({"ls", image, "/GAMES"}), "4\tf.txt\n");
    toolOk({"get", image, "/GAMES/f.txt", path("back.txt")});
    EXPECT_EQ(readFile(path("back.txt")), "five");
}

// A partition that starts past 4 GiB: any 32-bit offset arithmetic lands somewhere else.
TEST_F(ImagetoolCliTest, PartitionBeyondFourGigabytesIsFound) {
    const fs::path image = path("far.img");
    const std::uint64_t start = 9'000'000; // sectors, about 4.3 GiB in
    const std::uint64_t total = 5 * 1024 * kMiB;
    { std::ofstream create(image, std::ios::binary); }
    fs::resize_file(image, total);
    const std::uint64_t sectors = (total / kSector) - start;
    const RunResult made =
        runProgram({findProgram("mkfs.fat"), "-F", "32", "--offset=" + std::to_string(start),
                    image.string(), std::to_string(sectors / 2)});
    ASSERT_EQ(made.exitCode, 0) << made.err;
    std::vector<std::uint8_t> entry = {0x00, 0xFE, 0xFF, 0xFF, 0x0C, 0xFE, 0xFF, 0xFF};
    for (const std::uint64_t value : {start, sectors}) {
        for (int i = 0; i < 4; ++i) {
            entry.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
        }
    }
    writeBytes(image, 0x1BE, entry);
    writeBytes(image, 510, {0x55, 0xAA});

    writeFile(path("f.txt"), "far away");
    toolOk({"put", image, path("f.txt"), "f.txt"});
    EXPECT_EQ(toolOk({"ls", image, ""}), "8\tf.txt\n");
    toolOk({"get", image, "/f.txt", path("back.txt")});
    EXPECT_EQ(readFile(path("back.txt")), "far away");
    const auto boot = readBytes(image, start * kSector, kSector);
    EXPECT_EQ(std::string(boot.begin() + 0x52, boot.begin() + 0x5A), "FAT32   ");
}

TEST_F(ImagetoolCliTest, CreateReplacesAnExistingFileButRejectsBadRequests) {
    const fs::path image = path("disk.img");
    writeFile(image, "an old file in the way");
    toolOk({"create", image, "64M"});
    EXPECT_EQ(fs::file_size(image), 64 * kMiB);

    const std::vector<std::vector<std::string>> bad = {
        {"create", path("a.img")},
        {"create", path("a.img"), "12X"},
        {"create", path("a.img"), "0"},
        {"create", path("a.img"), "-5M"},
        {"create", path("a.img"), "64M", "--fat12"},
        {"create", path("a.img"), "64M", "--fat16", "--fat32"},
        {"create", path("a.img"), "100K"},
        {"create", path("a.img"), "3T"},
        {"create", path("no such folder/a.img"), "64M"},
    };
    for (const auto& args : bad) {
        SCOPED_TRACE(args.back());
        const RunResult result = tool(args);
        EXPECT_NE(result.exitCode, 0);
        EXPECT_NE(result.err.find("Error"), std::string::npos);
    }
    EXPECT_FALSE(fs::exists(path("a.img")));
    EXPECT_EQ(std::distance(fs::directory_iterator(m_dir), fs::directory_iterator()), 1)
        << "no temporary files left behind";
}

TEST_F(ImagetoolCliTest, HelpNamesTheToolAndItsCommands) {
    for (const auto& args : {std::vector<std::string>{"--help"}, std::vector<std::string>{}}) {
        const RunResult result = tool(args);
        EXPECT_EQ(result.exitCode, 0);
        EXPECT_NE(result.out.find("FAT disk-image tool"), std::string::npos) << result.out;
        for (const char* command : {"ls", "get", "put", "rm", "mkdir", "create"}) {
            EXPECT_NE(result.out.find(std::string(" ") + command + " "), std::string::npos)
                << command;
        }
    }
}

} // namespace
} // namespace corvel::test
