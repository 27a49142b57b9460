#include "imagetool_fixture.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <unistd.h>

namespace corvel::test {

namespace fs = std::filesystem;

std::string findProgram(const std::string& name) {
    for (const char* folder : {"/usr/sbin/", "/sbin/", "/usr/bin/", "/bin/"}) {
        const std::string candidate = folder + name;
        if (::access(candidate.c_str(), X_OK) == 0) {
            return candidate;
        }
    }
    return name;
}

std::string imageKindName(ImageKind kind) {
    switch (kind) {
    case ImageKind::BareFat16:
        return "BareFat16";
    case ImageKind::BareFat32:
        return "BareFat32";
    case ImageKind::Partitioned:
        break;
    }
    return "Partitioned";
}

void ImagetoolCliTest::SetUp() {
    std::string pattern = (fs::temp_directory_path() / "imagetool-test-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    m_dir = pattern;
    // Only for the mtools commands tests run themselves to prepare images; the tool
    // must not depend on these.
    ::setenv("MTOOLS_SKIP_CHECK", "1", 1);
    ::setenv("LC_ALL", "C.UTF-8", 1);
}

void ImagetoolCliTest::TearDown() {
    std::error_code ignored;
    fs::remove_all(m_dir, ignored);
}

RunResult ImagetoolCliTest::tool(const std::vector<std::string>& args,
                                 std::chrono::milliseconds timeout) const {
    std::vector<std::string> argv = {IMAGETOOL_PATH};
    argv.insert(argv.end(), args.begin(), args.end());
    return runProgram(argv, timeout);
}

std::string ImagetoolCliTest::toolOk(const std::vector<std::string>& args) const {
    const RunResult result = tool(args);
    std::string command;
    for (const auto& arg : args) {
        command += " '" + arg + "'";
    }
    EXPECT_EQ(result.exitCode, 0) << command << "\nstdout: " << result.out
                                  << "\nstderr: " << result.err;
    return result.out;
}

RunResult ImagetoolCliTest::mtools(const std::string& command,
                                   const std::vector<std::string>& args) const {
    std::vector<std::string> argv = {findProgram(command)};
    argv.insert(argv.end(), args.begin(), args.end());
    return runProgram(argv);
}

fs::path ImagetoolCliTest::makeImage(ImageKind kind, const std::string& name) const {
    switch (kind) {
    case ImageKind::BareFat16:
        return makeBareImage(16, name);
    case ImageKind::BareFat32:
        return makeBareImage(32, name);
    case ImageKind::Partitioned:
        break;
    }
    const fs::path image = path(name);
    toolOk({"create", image.string(), "64M"});
    return image;
}

fs::path ImagetoolCliTest::makeBareImage(int fatBits, const std::string& name,
                                         std::uint64_t bytes) const {
    const fs::path image = path(name);
    { std::ofstream create(image, std::ios::binary); }
    fs::resize_file(image, bytes);
    const RunResult made =
        runProgram({findProgram("mkfs.fat"), "-F", std::to_string(fatBits), image.string()});
    EXPECT_EQ(made.exitCode, 0) << made.err;
    return image;
}

void writeFile(const fs::path& file, const std::string& content) {
    fs::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << content;
}

std::string readFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeBytes(const fs::path& file, std::uint64_t offset,
                const std::vector<std::uint8_t>& bytes) {
    std::fstream out(file, std::ios::binary | std::ios::in | std::ios::out);
    out.seekp(static_cast<std::streamoff>(offset));
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

std::vector<std::uint8_t> readBytes(const fs::path& file, std::uint64_t offset, std::size_t count) {
    std::vector<std::uint8_t> bytes(count);
    std::ifstream in(file, std::ios::binary);
    in.seekg(static_cast<std::streamoff>(offset));
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(count));
    return bytes;
}

std::vector<std::string> describeTree(const fs::path& root) {
    std::vector<std::string> lines;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        const std::string relative = fs::relative(entry.path(), root).string();
        lines.push_back(entry.is_directory() ? relative + "/"
                                             : relative + "=" + readFile(entry.path()));
    }
    std::sort(lines.begin(), lines.end());
    return lines;
}

} // namespace corvel::test
