#include "platform/SafeFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <random>
#include <system_error>

namespace platform {

namespace fs = std::filesystem;

namespace {

// Closes and removes the temporary file unless the rename took it over.
struct TempFile {
    fs::path path;
    int fd = -1;
    bool keep = false;
    ~TempFile()
    {
        if (fd >= 0) ::close(fd);
        if (!keep && !path.empty()) ::unlink(path.c_str());
    }
};

bool Fail(std::string* error, const std::string& what, const fs::path& file, int err)
{
    if (error) *error = what + " \"" + file.string() + "\": " + std::strerror(err);
    return false;
}

// Opens a new file next to the target. Mode 0666 lets the umask decide the permissions of a
// file that did not exist before.
int CreateTemp(const fs::path& target, fs::path& tempPath)
{
    static std::atomic<unsigned> counter{0};
    std::random_device seed;
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempPath = target;
        tempPath += ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(counter++) + "-" +
                    std::to_string(seed() % 100000);
        int fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    errno = EEXIST;
    return -1;
}

} // namespace

bool WriteFileSafely(const fs::path& path, const void* data, std::size_t size, std::string* error)
{
    fs::path target = path;
    std::error_code ec;
    if (fs::is_symlink(target, ec)) {
        fs::path link = fs::read_symlink(target, ec);
        if (!ec) target = link.is_absolute() ? link : target.parent_path() / link;
    }

    struct stat old {};
    const bool hadOld = ::stat(target.c_str(), &old) == 0;
    // The rename would get past a read-only file; refuse as writing it in place would.
    if (hadOld && ::access(target.c_str(), W_OK) != 0) return Fail(error, "Cannot write", target, errno);

    TempFile temp;
    temp.fd = CreateTemp(target, temp.path);
    if (temp.fd < 0) {
        int err = errno;
        temp.path.clear();
        return Fail(error, "Cannot create a file beside", target, err);
    }

    const auto* bytes = static_cast<const unsigned char*>(data);
    std::size_t done = 0;
    while (done < size) {
        ssize_t n = ::write(temp.fd, bytes + done, size - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return Fail(error, "Cannot write", target, n < 0 ? errno : ENOSPC);
        done += static_cast<std::size_t>(n);
    }
    if (hadOld) {
        // The owner can only be kept by a privileged process, so its failure is no error.
        [[maybe_unused]] int owner = ::fchown(temp.fd, old.st_uid, old.st_gid);
        if (::fchmod(temp.fd, old.st_mode & 07777) != 0)
            return Fail(error, "Cannot keep the permissions of", target, errno);
    }
    if (::fsync(temp.fd) != 0) return Fail(error, "Cannot write", target, errno);
    int fd = temp.fd;
    temp.fd = -1;
    if (::close(fd) != 0) return Fail(error, "Cannot write", target, errno);
    if (::rename(temp.path.c_str(), target.c_str()) != 0) return Fail(error, "Cannot replace", target, errno);
    temp.keep = true;

    // Make the rename itself durable; a failure here no longer endangers either version.
    fs::path folder = target.parent_path().empty() ? fs::path(".") : target.parent_path();
    if (int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
}

ReadResult ReadWholeFile(const fs::path& path, std::size_t maxSize, std::vector<uint8_t>& data)
{
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) return ReadResult::CannotOpen;
    std::ifstream in(path, std::ios::binary);
    if (!in) return ReadResult::CannotOpen;
    if (!in.seekg(0, std::ios::end)) return ReadResult::Failed;
    const std::streamoff size = in.tellg();
    if (size < 0) return ReadResult::Failed;
    if (std::size_t(size) > maxSize) return ReadResult::TooLarge;
    data.resize(std::size_t(size));
    if (!in.seekg(0) || !in.read(reinterpret_cast<char*>(data.data()), size)) return ReadResult::Failed;
    return ReadResult::Ok;
}

} // namespace platform
