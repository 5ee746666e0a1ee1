#include "data/npz_writer.h"

#include <unistd.h>
#include <zip.h>

#include <cerrno>

namespace orbitograph {

std::string NpyHeader(const NpyMember& member) {
    std::string shape = "(";
    for (std::size_t i = 0; i < member.shape.size(); ++i) {
        shape += std::to_string(member.shape[i]);
        if (i + 1 < member.shape.size() || member.shape.size() == 1) shape += ",";
        if (i + 1 < member.shape.size()) shape += " ";
    }
    shape += ")";
    std::string dict = "{'descr': '" + member.descr + "', 'fortran_order': False, 'shape': " + shape + ", }";
    // Magic (6), version (2), header length (2 in format 1.0, 4 in 2.0),
    // then the dictionary padded with spaces and ended by a line feed.
    const bool wide = dict.size() + 1 + 10 > 65535;
    const std::size_t prefix = wide ? 12 : 10;
    const std::size_t total = (prefix + dict.size() + 1 + 63) / 64 * 64;
    dict.append(total - prefix - dict.size() - 1, ' ');
    dict += '\n';
    std::string header("\x93NUMPY", 6);
    header += static_cast<char>(wide ? 2 : 1);
    header += '\0';
    const std::size_t n = dict.size();
    for (std::size_t b = 0; b < (wide ? 4u : 2u); ++b) header += static_cast<char>((n >> (8 * b)) & 0xFF);
    return header + dict;
}

namespace {

// The archive's own bytes: a new, empty archive written straight into the
// file descriptor, which libzip may seek back in to complete headers.
struct FdTarget {
    int fd;
    const std::atomic<bool>* stop;
    bool stopped = false;
    zip_error_t error;
};

zip_int64_t Failed(FdTarget& t, int zipError) {
    zip_error_set(&t.error, zipError, errno);
    return -1;
}

zip_int64_t FdCallback(void* user, void* data, zip_uint64_t len, zip_source_cmd_t cmd) {
    FdTarget& t = *static_cast<FdTarget*>(user);
    switch (cmd) {
        case ZIP_SOURCE_SUPPORTS:
            return zip_source_make_command_bitmap(
                ZIP_SOURCE_OPEN, ZIP_SOURCE_READ, ZIP_SOURCE_CLOSE, ZIP_SOURCE_STAT, ZIP_SOURCE_ERROR, ZIP_SOURCE_FREE,
                ZIP_SOURCE_SEEK, ZIP_SOURCE_TELL, ZIP_SOURCE_SUPPORTS, ZIP_SOURCE_BEGIN_WRITE, ZIP_SOURCE_WRITE,
                ZIP_SOURCE_COMMIT_WRITE, ZIP_SOURCE_ROLLBACK_WRITE, ZIP_SOURCE_SEEK_WRITE, ZIP_SOURCE_TELL_WRITE,
                ZIP_SOURCE_REMOVE, ZIP_SOURCE_ACCEPT_EMPTY, -1);
        case ZIP_SOURCE_STAT: {  // the archive before writing: empty
            auto* st = ZIP_SOURCE_GET_ARGS(zip_stat_t, data, len, &t.error);
            if (!st) return -1;
            zip_stat_init(st);
            st->size = 0;
            st->valid |= ZIP_STAT_SIZE;
            return sizeof(zip_stat_t);
        }
        case ZIP_SOURCE_ACCEPT_EMPTY: return 1;
        case ZIP_SOURCE_OPEN:
        case ZIP_SOURCE_CLOSE:
        case ZIP_SOURCE_READ:
        case ZIP_SOURCE_TELL:
        case ZIP_SOURCE_SEEK:
        case ZIP_SOURCE_FREE:
        case ZIP_SOURCE_REMOVE:
        case ZIP_SOURCE_COMMIT_WRITE: return 0;
        case ZIP_SOURCE_BEGIN_WRITE:
        case ZIP_SOURCE_ROLLBACK_WRITE:
            if (lseek(t.fd, 0, SEEK_SET) != 0 || ftruncate(t.fd, 0) != 0) return Failed(t, ZIP_ER_SEEK);
            return 0;
        case ZIP_SOURCE_WRITE: {
            if (t.stop && t.stop->load(std::memory_order_relaxed)) {
                t.stopped = true;
                errno = EINTR;
                return Failed(t, ZIP_ER_WRITE);
            }
            const char* p = static_cast<const char*>(data);
            for (zip_uint64_t left = len; left > 0;) {
                const ssize_t n = write(t.fd, p, left);
                if (n < 0 && errno == EINTR) continue;
                if (n <= 0) {
                    if (n == 0) errno = EIO;
                    return Failed(t, ZIP_ER_WRITE);
                }
                p += n;
                left -= static_cast<zip_uint64_t>(n);
            }
            return static_cast<zip_int64_t>(len);
        }
        case ZIP_SOURCE_SEEK_WRITE: {
            auto* args = ZIP_SOURCE_GET_ARGS(zip_source_args_seek_t, data, len, &t.error);
            if (!args) return -1;
            if (lseek(t.fd, args->offset, args->whence) < 0) return Failed(t, ZIP_ER_SEEK);
            return 0;
        }
        case ZIP_SOURCE_TELL_WRITE: {
            const off_t at = lseek(t.fd, 0, SEEK_CUR);
            return at < 0 ? Failed(t, ZIP_ER_TELL) : static_cast<zip_int64_t>(at);
        }
        case ZIP_SOURCE_ERROR: return zip_error_to_data(&t.error, data, len);
        default: zip_error_set(&t.error, ZIP_ER_OPNOTSUPP, 0); return -1;
    }
}

}  // namespace

Produced WriteNpz(const std::vector<NpyMember>& members, int fd, int& systemError, std::string& error,
                  const std::atomic<bool>* stop) {
    FdTarget target{fd, stop, false, {}};
    zip_error_init(&target.error);
    zip_error_t ze;
    zip_error_init(&ze);
    const auto fail = [&](zip_t* za, zip_error_t* e) {
        error = zip_error_strerror(e);
        systemError = zip_error_system_type(e) == ZIP_ET_SYS ? zip_error_code_system(e) : 0;
        const bool noMemory = zip_error_code_zip(e) == ZIP_ER_MEMORY;
        if (za) zip_discard(za);
        zip_error_fini(&ze);
        zip_error_fini(&target.error);
        if (target.stopped) return Produced::Stopped;
        return noMemory ? Produced::NoMemory : Produced::SinkFailed;
    };
    zip_source_t* archive = zip_source_function_create(FdCallback, &target, &ze);
    if (!archive) return fail(nullptr, &ze);
    zip_t* za = zip_open_from_source(archive, ZIP_CREATE | ZIP_TRUNCATE, &ze);
    if (!za) {
        zip_source_free(archive);
        return fail(nullptr, &ze);
    }
    std::vector<std::string> headers;
    headers.reserve(members.size());
    for (const NpyMember& m : members) {
        headers.push_back(NpyHeader(m));
        const zip_buffer_fragment_t parts[] = {
            {reinterpret_cast<zip_uint8_t*>(headers.back().data()), headers.back().size()},
            {static_cast<zip_uint8_t*>(const_cast<void*>(m.data)), m.size}};
        zip_source_t* member = zip_source_buffer_fragment_create(parts, m.size > 0 ? 2 : 1, 0, &ze);
        if (!member) return fail(za, &ze);
        const zip_int64_t index = zip_file_add(za, (m.name + ".npy").c_str(), member, ZIP_FL_ENC_UTF_8);
        if (index < 0) {
            zip_source_free(member);
            return fail(za, zip_get_error(za));
        }
        if (zip_set_file_compression(za, static_cast<zip_uint64_t>(index), ZIP_CM_STORE, 0) != 0)
            return fail(za, zip_get_error(za));
    }
    if (zip_close(za) != 0) return fail(za, zip_get_error(za));
    zip_error_fini(&ze);
    zip_error_fini(&target.error);
    return Produced::Done;
}

}  // namespace orbitograph
