#include "data/npz_writer.h"

#include <zip.h>

#include <memory>

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

struct SourceFree {
    void operator()(zip_source_t* s) const { zip_source_free(s); }
};

std::string ZipError(zip_error_t* e) { return zip_error_strerror(e); }

}  // namespace

Produced WriteNpz(const std::vector<NpyMember>& members, const ByteSink& sink, std::string& error) {
    zip_error_t ze;
    zip_error_init(&ze);
    std::unique_ptr<zip_source_t, SourceFree> archive(zip_source_buffer_create(nullptr, 0, 0, &ze));
    if (!archive) {
        error = ZipError(&ze);
        zip_error_fini(&ze);
        return Produced::NoMemory;
    }
    zip_t* za = zip_open_from_source(archive.get(), ZIP_TRUNCATE, &ze);
    if (!za) {
        error = ZipError(&ze);
        zip_error_fini(&ze);
        return Produced::NoMemory;
    }
    zip_source_keep(archive.get());  // the archive's bytes stay after zip_close
    std::vector<std::string> headers;
    headers.reserve(members.size());
    const auto fail = [&](zip_error_t* e) {
        error = ZipError(e);
        zip_discard(za);
        zip_error_fini(&ze);
        return Produced::NoMemory;
    };
    for (const NpyMember& m : members) {
        headers.push_back(NpyHeader(m));
        const zip_buffer_fragment_t parts[] = {
            {reinterpret_cast<zip_uint8_t*>(headers.back().data()), headers.back().size()},
            {static_cast<zip_uint8_t*>(const_cast<void*>(m.data)), m.size}};
        zip_source_t* member = zip_source_buffer_fragment_create(parts, m.size > 0 ? 2 : 1, 0, &ze);
        if (!member) return fail(&ze);
        const zip_int64_t index = zip_file_add(za, (m.name + ".npy").c_str(), member, ZIP_FL_ENC_UTF_8);
        if (index < 0) {
            zip_source_free(member);
            return fail(zip_get_error(za));
        }
        if (zip_set_file_compression(za, static_cast<zip_uint64_t>(index), ZIP_CM_STORE, 0) != 0)
            return fail(zip_get_error(za));
    }
    if (zip_close(za) != 0) return fail(zip_get_error(za));
    zip_error_fini(&ze);
    if (zip_source_open(archive.get()) != 0) {
        error = ZipError(zip_source_error(archive.get()));
        return Produced::NoMemory;
    }
    std::vector<char> block(1 << 18);
    Produced result = Produced::Done;
    for (;;) {
        const zip_int64_t n = zip_source_read(archive.get(), block.data(), block.size());
        if (n < 0) {
            error = ZipError(zip_source_error(archive.get()));
            result = Produced::NoMemory;
            break;
        }
        if (n == 0) break;
        if (!sink(block.data(), static_cast<std::size_t>(n))) {
            result = Produced::SinkFailed;
            break;
        }
    }
    zip_source_close(archive.get());
    return result;
}

}  // namespace orbitograph
