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

bool Raised(const std::atomic<bool>* stop) { return stop && stop->load(std::memory_order_relaxed); }

// Syncs the file to disk a slice at a time, reading stop between slices, so
// that a raised flag waits for one slice's writing at most; then fsync for
// the rest (the size, the permission bits).
SaveResult SyncToDisk(int fd, const std::atomic<bool>* stop) {
    constexpr off_t kSlice = off_t{8} << 20;
    struct stat st {};
    if (fstat(fd, &st) != 0) return SystemFailure(errno);
    for (off_t at = 0; at < st.st_size; at += kSlice) {
        if (Raised(stop)) return {SaveFailure::Stopped, 0};
        const unsigned flags = SYNC_FILE_RANGE_WAIT_BEFORE | SYNC_FILE_RANGE_WRITE | SYNC_FILE_RANGE_WAIT_AFTER;
        if (sync_file_range(fd, at, kSlice, flags) != 0) {
            if (errno == ENOSYS || errno == ESPIPE || errno == EINVAL) break;  // fsync alone, then
            return SystemFailure(errno);
        }
    }
    if (Raised(stop)) return {SaveFailure::Stopped, 0};
    return fsync(fd) == 0 ? SaveResult{} : SystemFailure(errno);
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

SaveResult CheckTarget(const std::filesystem::path& path) {
    std::filesystem::path target;
    std::optional<mode_t> keepMode;
    return ResolveTarget(path, target, keepMode);
}

FileBatch::~FileBatch() {
    for (const Pending& p : m_files) unlink(p.temporary.c_str());
}

void FileBatch::Add(std::string temporary, std::filesystem::path target) {
    m_files.push_back({std::move(temporary), std::move(target)});
}

SaveResult FileBatch::Commit(std::size_t& committed) {
    committed = 0;
    for (; committed < m_files.size(); ++committed) {
        const Pending& p = m_files[committed];
        if (rename(p.temporary.c_str(), p.target.c_str()) != 0) {
            const int error = errno;
            m_files.erase(m_files.begin(), m_files.begin() + static_cast<std::ptrdiff_t>(committed));
            return SystemFailure(error);
        }
        SyncFolder(p.target);
    }
    m_files.clear();
    return {};
}

SaveResult WriteFileAtomicallyToFd(const std::filesystem::path& path,
                                   const std::function<Produced(int fd, int& error)>& produce,
                                   const std::atomic<bool>* stop, FileBatch* batch) {
    std::filesystem::path target;
    std::optional<mode_t> keepMode;
    if (SaveResult r = ResolveTarget(path, target, keepMode); !r.Ok()) return r;
    if (Raised(stop)) return {SaveFailure::Stopped, 0};

    TemporaryFile file;
    if (!file.Create(target)) return SystemFailure(errno);
    int error = 0;
    const Produced produced = produce(file.Fd(), error);
    if (produced == Produced::Stopped || Raised(stop)) return {SaveFailure::Stopped, 0};
    if (produced == Produced::NoMemory) return SystemFailure(ENOMEM);
    if (produced != Produced::Done) return SystemFailure(error);
    if (keepMode && fchmod(file.Fd(), *keepMode) != 0) return SystemFailure(errno);
    if (SaveResult r = SyncToDisk(file.Fd(), stop); !r.Ok()) return r;
    if (!file.Close()) return SystemFailure(errno);
    if (Raised(stop)) return {SaveFailure::Stopped, 0};
    if (batch) {
        batch->Add(file.Path(), target);
        file.Release();
        return {};
    }
    if (rename(file.Path().c_str(), target.c_str()) != 0) return SystemFailure(errno);
    file.Release();
    SyncFolder(target);
    return {};
}

SaveResult WriteFileAtomically(const std::filesystem::path& path,
                               const std::function<Produced(const ByteSink&)>& produce, const std::atomic<bool>* stop,
                               FileBatch* batch) {
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
        stop, batch);
}

}  // namespace orbitograph
