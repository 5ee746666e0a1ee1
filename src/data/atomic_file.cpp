#include "data/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <system_error>
#include <vector>

namespace orbitograph {

namespace {

// Removes the file on destruction unless released; closes its descriptor.
class TemporaryFile {
public:
    TemporaryFile() = default;
    ~TemporaryFile() {
        if (m_fd >= 0) close(m_fd);
        if (!m_path.empty()) unlink(m_path.c_str());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    // A new file beside target, named after it, created exclusively.
    bool Create(const std::filesystem::path& target) {
        std::string base = target.filename().string().substr(0, 200);
        std::uint64_t seed = static_cast<std::uint64_t>(getpid()) * 0x9E3779B97F4A7C15u ^
                             static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
        for (int attempt = 0; attempt < 100; ++attempt) {
            seed = seed * 6364136223846793005u + 1442695040888963407u;
            char suffix[24];
            std::snprintf(suffix, sizeof suffix, ".%08x.part", static_cast<unsigned>(seed >> 32));
            const std::filesystem::path name = "." + base + suffix;
            const std::filesystem::path path = target.has_parent_path() ? target.parent_path() / name : name;
            m_fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (m_fd >= 0) {
                m_path = path.string();
                return true;
            }
            if (errno != EEXIST) return false;
        }
        return false;
    }
    int Fd() const { return m_fd; }
    const std::string& Path() const { return m_path; }
    // Closes the descriptor, reporting what close reports.
    bool Close() {
        const int fd = m_fd;
        m_fd = -1;
        return close(fd) == 0;
    }
    void Release() { m_path.clear(); }

private:
    int m_fd = -1;
    std::string m_path;
};

// Collects the encoder's bytes and writes them in large blocks, checking
// every write; the first failure's errno is kept and ends the encoding.
class BlockWriter {
public:
    explicit BlockWriter(int fd) : m_fd(fd) { m_buffer.reserve(kBlock); }
    bool Put(const char* data, std::size_t size) {
        if (m_buffer.size() + size > kBlock && !Flush()) return false;
        if (size >= kBlock) return WriteAll(data, size);
        m_buffer.insert(m_buffer.end(), data, data + size);
        return true;
    }
    bool Flush() {
        const bool ok = WriteAll(m_buffer.data(), m_buffer.size());
        m_buffer.clear();
        return ok;
    }
    int Error() const { return m_error; }

private:
    static constexpr std::size_t kBlock = 1 << 18;
    bool WriteAll(const char* data, std::size_t size) {
        while (size > 0) {
            const ssize_t n = write(m_fd, data, size);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) {
                m_error = n < 0 ? errno : EIO;
                return false;
            }
            data += n;
            size -= static_cast<std::size_t>(n);
        }
        return true;
    }

    int m_fd;
    int m_error = 0;
    std::vector<char> m_buffer;
};

SaveResult SystemFailure(int error) { return {SaveFailure::System, error != 0 ? error : EIO}; }

// Where the picture goes: the path itself, or what a link to a regular file
// names. Sets keepMode to the permission bits of a file being replaced.
SaveResult ResolveTarget(const std::filesystem::path& path, std::filesystem::path& target,
                         std::optional<mode_t>& keepMode) {
    target = path;
    struct stat st {};
    if (lstat(path.c_str(), &st) != 0) return errno == ENOENT ? SaveResult{} : SystemFailure(errno);
    if (S_ISLNK(st.st_mode)) {
        if (stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return {SaveFailure::NotRegularFile, 0};
        char* real = realpath(path.c_str(), nullptr);
        if (!real) return SystemFailure(errno);
        target = real;
        std::free(real);
    } else if (!S_ISREG(st.st_mode)) {
        return {SaveFailure::NotRegularFile, 0};
    }
    keepMode = st.st_mode & 07777;
    return {};
}

void SyncFolder(const std::filesystem::path& target) {
    const std::filesystem::path folder = target.has_parent_path() ? target.parent_path() : ".";
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    fsync(fd);  // best effort: some file systems cannot sync a folder
    close(fd);
}

}  // namespace

std::string SaveFailureText(const SaveResult& result) {
    switch (result.failure) {
        case SaveFailure::None: return {};
        case SaveFailure::NoPicture: return "there is no picture to save";
        case SaveFailure::NotRegularFile: return "not a regular file; left as it was";
        case SaveFailure::Stopped: return "stopped before the picture was complete";
        case SaveFailure::System: return std::system_category().message(result.systemError);
    }
    return {};
}

SaveResult WriteFileAtomicallyToFd(const std::filesystem::path& path,
                                   const std::function<Produced(int fd, int& error)>& produce,
                                   const std::atomic<bool>* stop) {
    std::filesystem::path target;
    std::optional<mode_t> keepMode;
    if (SaveResult r = ResolveTarget(path, target, keepMode); !r.Ok()) return r;

    TemporaryFile file;
    if (!file.Create(target)) return SystemFailure(errno);
    int error = 0;
    const Produced produced = produce(file.Fd(), error);
    if (produced == Produced::Stopped) return {SaveFailure::Stopped, 0};
    if (produced == Produced::NoMemory) return SystemFailure(ENOMEM);
    if (produced != Produced::Done) return SystemFailure(error);
    if (keepMode && fchmod(file.Fd(), *keepMode) != 0) return SystemFailure(errno);
    if (fsync(file.Fd()) != 0) return SystemFailure(errno);
    if (!file.Close()) return SystemFailure(errno);
    if (stop && stop->load()) return {SaveFailure::Stopped, 0};
    if (rename(file.Path().c_str(), target.c_str()) != 0) return SystemFailure(errno);
    file.Release();
    SyncFolder(target);
    return {};
}

SaveResult WriteFileAtomically(const std::filesystem::path& path,
                               const std::function<Produced(const ByteSink&)>& produce, const std::atomic<bool>* stop) {
    return WriteFileAtomicallyToFd(
        path,
        [&produce](int fd, int& error) {
            BlockWriter writer(fd);
            Produced produced =
                produce([&writer](const char* data, std::size_t size) { return writer.Put(data, size); });
            if (produced == Produced::Done && !writer.Flush()) produced = Produced::SinkFailed;
            error = writer.Error();
            return produced;
        },
        stop);
}

}  // namespace orbitograph
