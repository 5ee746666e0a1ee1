#include "data/plane_export.h"

#include <array>
#include <cstdint>
#include <stdexcept>
#include <utility>

#include "data/npz_writer.h"

namespace orbitograph {

SaveResult WritePlaneNpz(const std::filesystem::path& path, const std::vector<double>& values1,
                         const std::vector<double>& values2, const std::vector<ListCounts>& counts, std::string& error,
                         const std::atomic<bool>* stop, FileBatch* batch, const PlaneExtras* extra) {
    const std::size_t n1 = values1.size();
    const std::size_t n2 = values2.size();
    if (counts.size() != n1 * n2) throw std::invalid_argument("the counts do not match the two axes");
    static const char* const kKeys[] = {"start_points", "attractors", "infinity", "zero", "T", "O", "M", "H"};
    // The arrays are C-ordered [j][i], which is the order of counts already.
    std::array<std::vector<std::int64_t>, std::size(kKeys)> arrays;
    for (auto& a : arrays) a.reserve(counts.size());
    for (const ListCounts& c : counts) {
        const std::int64_t row[] = {c.startPoints, c.attractors, c.infinity, c.zero, c.t, c.o, c.m, c.h};
        for (std::size_t k = 0; k < arrays.size(); ++k) arrays[k].push_back(row[k]);
    }
    std::vector<NpyMember> members = {
        {"p1", "<f8", {n1}, values1.data(), n1 * sizeof(double)},
        {"p2", "<f8", {n2}, values2.data(), n2 * sizeof(double)},
    };
    for (std::size_t k = 0; k < arrays.size(); ++k) {
        members.push_back({kKeys[k], "<i8", {n2, n1}, arrays[k].data(), arrays[k].size() * sizeof(std::int64_t)});
    }
    if (extra != nullptr) {
        const auto fits = [&](std::size_t size) {
            if (size != 0 && size != counts.size()) throw std::invalid_argument("an extra array does not match");
            return size != 0;
        };
        if (fits(extra->cycles.size()))
            members.push_back({"cycles", "<i4", {n2, n1}, extra->cycles.data(), counts.size() * sizeof(std::int32_t)});
        const std::pair<const char*, const std::vector<double>*> reals[] = {
            {"Sb", &extra->sb}, {"Sbb", &extra->sbb}, {"alpha", &extra->alpha}};
        for (const auto& [key, values] : reals) {
            if (fits(values->size()))
                members.push_back({key, "<f8", {n2, n1}, values->data(), counts.size() * sizeof(double)});
        }
    }
    return WriteFileAtomicallyToFd(
        path, [&](int fd, int& systemError) { return WriteNpz(members, fd, systemError, error, stop); }, stop, batch);
}

}  // namespace orbitograph
