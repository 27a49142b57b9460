#pragma once

#include "process_runner.h"

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <gtest/gtest.h>
#include <ostream>
#include <string>
#include <vector>

namespace corvel::test {

enum class ImageKind { BareFat16, BareFat32, Partitioned };

std::string imageKindName(ImageKind kind);
inline void PrintTo(ImageKind kind, std::ostream* out) {
    *out << imageKindName(kind);
}

// A fresh temporary folder per test, and helpers to run the tool inside it.
class ImagetoolCliTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    RunResult tool(const std::vector<std::string>& args,
                   std::chrono::milliseconds timeout = std::chrono::seconds(60)) const;
    // Runs the tool and fails the test unless it exits 0; returns its stdout.
    std::string toolOk(const std::vector<std::string>& args) const;
    RunResult mtools(const std::string& command, const std::vector<std::string>& args) const;

    std::filesystem::path makeImage(ImageKind kind, const std::string& name = "disk.img") const;
    std::filesystem::path makeBareImage(int fatBits, const std::string& name,
                                        std::uint64_t bytes = 64ull << 20) const;
    std::filesystem::path path(const std::string& relative) const { return m_dir / relative; }

    std::filesystem::path m_dir;
};

// Full path of a system program, also when it lives in an sbin folder outside PATH.
std::string findProgram(const std::string& name);

// Creates missing parent folders.
void writeFile(const std::filesystem::path& file, const std::string& content);
std::string readFile(const std::filesystem::path& file);
void writeBytes(const std::filesystem::path& file, std::uint64_t offset,
                const std::vector<std::uint8_t>& bytes);
std::vector<std::uint8_t> readBytes(const std::filesystem::path& file, std::uint64_t offset,
                                    std::size_t count);

// Every file below `root` as "relative/path=contents", and every folder as "relative/path/".
std::vector<std::string> describeTree(const std::filesystem::path& root);

} // namespace corvel::test
