#include "image_creator.h"

#include "byte_size.h"
#include "child_process.h"
#include "mbr_partition.h"
#include "unique_fd.h"

#include <array>
#include <cstdio>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace corvel::imagetool {

namespace {

constexpr std::uint64_t kPartitionStartSector = 2048; // 1 MiB, the usual alignment
constexpr std::uint64_t kFat32Threshold = 512ull << 20;
constexpr std::uint64_t kMaxSectors = 0xFFFFFFFFull;
constexpr std::uint32_t kMinFat16Clusters = 4085;
constexpr std::uint32_t kMinFat32Clusters = 65525;

// The temporary file is removed unless release() says the image reached its final name.
class TemporaryFile final {
public:
    explicit TemporaryFile(const std::string& nextTo) : m_path(nextTo + ".corvel-XXXXXX") {
        m_fd = UniqueFd(::mkstemp(m_path.data()));
        m_created = m_fd.valid();
    }
    ~TemporaryFile() {
        if (m_created && !m_released) {
            ::unlink(m_path.c_str());
        }
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    bool valid() const { return m_fd.valid(); }
    int fd() const { return m_fd.get(); }
    const std::string& path() const { return m_path; }
    void release() {
        m_fd.reset();
        m_released = true;
    }

private:
    std::string m_path;
    UniqueFd m_fd;
    bool m_created = false;
    bool m_released = false;
};

// mkstemp creates 0600; an image should get the permissions any new file would.
void applyDefaultPermissions(int fd) {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);
}

std::string commandLinePath(const std::string& path) {
    return path.empty() || path.front() == '/' ? path : "./" + path;
}

Status runMkfs(const CreateRequest& request, FatType type, const std::string& path) {
    const std::uint64_t start = request.bare ? 0 : kPartitionStartSector;
    const std::uint64_t kibibytes = (request.size - start * kSectorSize) / 1024;
    std::vector<std::string> argv = {"mkfs.fat", "-F", type == FatType::Fat32 ? "32" : "16",
                                     "--mbr=n"};
    if (!request.bare) {
        argv.insert(argv.end(), {"--offset=" + std::to_string(start), "-h", std::to_string(start),
                                 "-g", "255/63"});
    }
    argv.insert(argv.end(), {commandLinePath(path), std::to_string(kibibytes)});
    const auto ran = runProcess(argv, environmentWith({{"LC_ALL", "C"}}));
    if (!ran.ok()) {
        return Status::failure(ran.error());
    }
    if (!ran.value().succeeded()) {
        return Status::failure("mkfs.fat failed: " + ran.value().firstMessageLine());
    }
    return succeeded();
}

// mkfs.fat only warns when a size leaves too few clusters for the FAT type asked for, but
// mtools goes by the cluster count and cannot write to such a volume.
Status checkClusterCount(int fd, std::uint64_t volumeOffset, FatType type) {
    std::array<std::uint8_t, kSectorSize> sector{};
    const auto got = ::pread(fd, sector.data(), sector.size(), static_cast<off_t>(volumeOffset));
    const auto geometry =
        got == static_cast<ssize_t>(sector.size()) ? parseBootSector(sector) : std::nullopt;
    if (!geometry) {
        return Status::failure("mkfs.fat did not leave a readable FAT volume");
    }
    const std::uint32_t clusters = geometry->clusterCount;
    if (type == FatType::Fat32 && clusters < kMinFat32Clusters) {
        return Status::failure("the size is too small for FAT32; use --fat16 or a larger size");
    }
    if (type == FatType::Fat16 && (clusters < kMinFat16Clusters || clusters >= kMinFat32Clusters)) {
        return Status::failure("the size does not suit FAT16; use --fat32 or another size");
    }
    return succeeded();
}

Status writePartitionTable(int fd, std::uint64_t imageSize, FatType type) {
    const std::uint64_t kibibytes = (imageSize - kPartitionStartSector * kSectorSize) / 1024;
    const PartitionSpan span{static_cast<std::uint32_t>(kPartitionStartSector),
                             static_cast<std::uint32_t>(kibibytes * 2)};
    std::random_device random;
    const auto mbr = buildMbr(span, partitionTypeFor(type, span), random());
    if (::pwrite(fd, mbr.data(), mbr.size(), 0) != static_cast<ssize_t>(mbr.size())) {
        return Status::failure("cannot write the partition table");
    }
    return succeeded();
}

Status checkSize(const CreateRequest& request) {
    const std::uint64_t reserved = request.bare ? 0 : kPartitionStartSector * kSectorSize;
    if (request.size < reserved + (1u << 20)) {
        return Status::failure("an image needs at least " + std::to_string((reserved >> 20) + 1) +
                               " MiB");
    }
    if ((request.size - reserved) / kSectorSize > kMaxSectors) {
        return Status::failure("a FAT volume cannot be larger than 2 TiB");
    }
    return succeeded();
}

} // namespace

Outcome<CreateRequest> parseCreateArguments(const std::vector<std::string>& args) {
    using Result = Outcome<CreateRequest>;
    if (args.size() < 2) {
        return Result::failure("usage: create IMAGE SIZE [--fat16|--fat32] [--bare]");
    }
    CreateRequest request;
    request.imagePath = args[0];
    const auto size = parseByteSize(args[1]);
    if (!size) {
        return Result::failure("invalid size \"" + args[1] + "\" (examples: 64M, 2G)");
    }
    request.size = *size;
    for (std::size_t i = 2; i < args.size(); ++i) {
        const auto& option = args[i];
        const bool fatOption = option == "--fat16" || option == "--fat32";
        if (fatOption && request.forcedType) {
            return Result::failure("give only one of --fat16 and --fat32");
        }
        if (fatOption) {
            request.forcedType = option == "--fat16" ? FatType::Fat16 : FatType::Fat32;
        } else if (option == "--bare") {
            request.bare = true;
        } else {
            return Result::failure("unknown option for create: " + option);
        }
    }
    return Result::success(std::move(request));
}

Status createImage(const CreateRequest& request) {
    const Status sizeOk = checkSize(request);
    if (!sizeOk.ok()) {
        return sizeOk;
    }
    const FatType type = request.forcedType.value_or(
        request.size < kFat32Threshold ? FatType::Fat16 : FatType::Fat32);
    TemporaryFile file(request.imagePath);
    if (!file.valid()) {
        return Status::failure("cannot create a file next to " + request.imagePath);
    }
    applyDefaultPermissions(file.fd());
    // Sparse: the blocks of a multi-gigabyte image only get allocated once written to.
    if (::ftruncate(file.fd(), static_cast<off_t>(request.size)) != 0) {
        return Status::failure("cannot size " + request.imagePath);
    }
    Status made = runMkfs(request, type, file.path());
    if (made.ok()) {
        made = checkClusterCount(file.fd(), request.bare ? 0 : kPartitionStartSector * kSectorSize,
                                 type);
    }
    if (made.ok() && !request.bare) {
        made = writePartitionTable(file.fd(), request.size, type);
    }
    if (!made.ok()) {
        return made;
    }
    if (std::rename(file.path().c_str(), request.imagePath.c_str()) != 0) {
        return Status::failure("cannot write " + request.imagePath);
    }
    file.release();
    return succeeded();
}

} // namespace corvel::imagetool
