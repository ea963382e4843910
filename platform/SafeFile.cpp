#include "platform/SafeFile.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <system_error>

namespace platform {

namespace fs = std::filesystem;

namespace {

// Links followed from the name given to the file written, as the system's own limit.
constexpr int MostLinks = 40;

// Temporary files are named after their file: "<name>.tmp-<process id>-<count>-<random>". A name
// too long to take that tail within the folder's limit is cut, at the start of a character, and
// followed by "~" and a hash of the whole name: "<cut name>~<hash>.tmp-...", its file's alone.
constexpr const char TempMark[] = ".tmp-";
// The longest tail: the mark, a process id of up to 7 digits, a count of up to 10 and a random
// number of up to 5, with their dashes.
constexpr std::size_t LongestTempTail = sizeof TempMark - 1 + 7 + 1 + 10 + 1 + 5;
// "~" and the hash's 16 hexadecimal digits.
constexpr std::size_t HashMarkSize = 17;

struct Descriptor {
    int fd = -1;
    ~Descriptor()
    {
        if (fd >= 0) ::close(fd);
    }
};

// Closes and removes the temporary file unless the rename took it over.
struct TempFile : Descriptor {
    fs::path path;
    bool keep = false;
    ~TempFile()
    {
        if (!keep && !path.empty()) ::unlink(path.c_str());
    }
};

// What a file that is not a regular one is, for the messages.
std::string KindOf(mode_t mode)
{
    if (S_ISDIR(mode)) return "it is a folder";
    if (S_ISFIFO(mode)) return "it is a named pipe";
    if (S_ISCHR(mode) || S_ISBLK(mode)) return "it is a device";
    if (S_ISSOCK(mode)) return "it is a socket";
    return "it is not a regular file";
}

bool Fail(std::string* error, const std::string& what, const fs::path& file, const std::string& why)
{
    if (error) *error = what + " \"" + file.string() + "\": " + why;
    return false;
}

bool Fail(std::string* error, const std::string& what, const fs::path& file, int err)
{
    return Fail(error, what, file, std::strerror(err));
}

// The file a chain of symbolic links names (the path itself when it is no link, also when
// nothing is there yet); 0, or the error.
int FollowLinks(fs::path& target)
{
    for (int links = 0; links <= MostLinks; ++links) {
        struct stat st {};
        if (::lstat(target.c_str(), &st) != 0) return errno == ENOENT ? 0 : errno;
        if (!S_ISLNK(st.st_mode)) return 0;
        std::error_code ec;
        const fs::path link = fs::read_symlink(target, ec);
        if (ec) return ec.value();
        target = link.is_absolute() ? link : target.parent_path() / link;
    }
    return ELOOP;
}

// The folder that holds `file`.
fs::path FolderOf(const fs::path& file) { return file.parent_path().empty() ? fs::path(".") : file.parent_path(); }

// What every temporary name of `target` starts with, the mark included; the same in every
// process, so that a later write finds what an ended one left.
std::string TempPrefix(const fs::path& target)
{
    const std::string name = target.filename().string();
    const long limit = ::pathconf(FolderOf(target).c_str(), _PC_NAME_MAX);
    const std::size_t longest = limit > 0 ? std::size_t(limit) : NAME_MAX;
    if (name.size() + LongestTempTail <= longest) return name + TempMark;

    std::size_t cut = longest > LongestTempTail + HashMarkSize ? longest - LongestTempTail - HashMarkSize : 0;
    while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) --cut;
    uint64_t hash = 14695981039346656037ull; // FNV-1a
    for (const char c : name) hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    char hex[HashMarkSize + 1];
    std::snprintf(hex, sizeof hex, "~%016llx", static_cast<unsigned long long>(hash));
    return name.substr(0, cut) + hex + TempMark;
}

// The process id in the rest of a temporary name ("<pid>-<count>-<random>", all decimal), or 0
// for a name of another making.
pid_t WriterOf(const std::string& rest)
{
    const std::size_t dash = rest.find('-');
    const std::size_t second = dash == std::string::npos ? dash : rest.find('-', dash + 1);
    const bool shaped = dash > 0 && dash <= 7 && second != std::string::npos && second > dash + 1 &&
                        second + 1 < rest.size() && rest.find_first_not_of("0123456789-") == std::string::npos &&
                        rest.find('-', second + 1) == std::string::npos;
    return shaped ? pid_t(std::stol(rest.substr(0, dash))) : 0;
}

// Removes the temporary files of `target` (named from `prefix`) that a write left when its
// process ended halfway. A file whose writer still runs (or cannot be told apart from a running
// one) is left alone.
void RemoveLeftTemporaries(const fs::path& target, const std::string& prefix)
{
    std::error_code ec;
    for (fs::directory_iterator it(FolderOf(target), ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.compare(0, prefix.size(), prefix) != 0) continue;
        const pid_t writer = WriterOf(name.substr(prefix.size()));
        if (writer <= 0 || ::kill(writer, 0) == 0 || errno != ESRCH) continue;
        struct stat st {};
        if (::lstat(it->path().c_str(), &st) == 0 && S_ISREG(st.st_mode)) ::unlink(it->path().c_str());
    }
}

// Opens a new file next to the target, named from `prefix`. Mode 0666 lets the umask decide the
// permissions of a file that did not exist before.
int CreateTemp(const fs::path& target, const std::string& prefix, fs::path& tempPath)
{
    static std::atomic<unsigned> counter{0};
    std::random_device seed;
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempPath = target;
        tempPath.replace_filename(prefix + std::to_string(::getpid()) + "-" + std::to_string(counter++) + "-" +
                                  std::to_string(seed() % 100000));
        int fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    errno = EEXIST;
    return -1;
}

extern "C" void OnFileSizeLimit(int) {}

} // namespace

void LetWritesPastTheSizeLimitFail()
{
    struct sigaction action {};
    action.sa_handler = OnFileSizeLimit;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGXFSZ, &action, nullptr);
}

bool WriteFileSafely(const fs::path& path, const void* data, std::size_t size, std::string* error)
{
    fs::path target = path;
    if (int err = FollowLinks(target)) return Fail(error, "Cannot follow the links of", path, err);

    struct stat old {};
    const bool hadOld = ::lstat(target.c_str(), &old) == 0;
    // A pipe or a device would be replaced by a plain file, a folder cannot be.
    if (hadOld && !S_ISREG(old.st_mode)) return Fail(error, "Cannot write", target, KindOf(old.st_mode));
    // The rename would get past a read-only file; refuse as writing it in place would.
    if (hadOld && ::access(target.c_str(), W_OK) != 0) return Fail(error, "Cannot write", target, errno);

    const std::string prefix = TempPrefix(target);
    RemoveLeftTemporaries(target, prefix);
    TempFile temp;
    temp.fd = CreateTemp(target, prefix, temp.path);
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
    if (int dir = ::open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
}

ReadResult ReadWholeFile(const fs::path& path, std::size_t maxSize, std::vector<uint8_t>& data, std::string* reason)
{
    auto fail = [reason](ReadResult result, std::string why) {
        if (reason) *reason = std::move(why);
        return result;
    };
    // Only a regular file is opened: opening a pipe waits for a writer, opening a device may
    // act on it.
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return fail(errno == ENOENT ? ReadResult::Missing : ReadResult::CannotOpen, std::strerror(errno));
    if (!S_ISREG(st.st_mode)) return fail(ReadResult::NotRegularFile, KindOf(st.st_mode));
    // The name may have changed hands since: what was opened is looked at again.
    Descriptor file;
    file.fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (file.fd < 0) return fail(ReadResult::CannotOpen, std::strerror(errno));
    if (::fstat(file.fd, &st) != 0) return fail(ReadResult::Failed, std::strerror(errno));
    if (!S_ISREG(st.st_mode)) return fail(ReadResult::NotRegularFile, KindOf(st.st_mode));
    if (std::uintmax_t(st.st_size) > maxSize)
        return fail(ReadResult::TooLarge, "it is larger than " + std::to_string(maxSize) + " bytes");

    data.resize(std::size_t(st.st_size));
    std::size_t done = 0;
    while (done < data.size()) {
        ssize_t n = ::read(file.fd, data.data() + done, data.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return fail(ReadResult::Failed, std::strerror(errno));
        if (n == 0) return fail(ReadResult::Failed, "it became shorter while it was read");
        done += std::size_t(n);
    }
    return ReadResult::Ok;
}

} // namespace platform
