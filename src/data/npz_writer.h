#pragma once

#include <atomic>
#include <cstddef>
#include <string>
#include <vector>

#include "data/atomic_file.h"

namespace orbitograph {

// One member of a NumPy archive: a C-ordered array of `shape` (empty for a
// 0-d array) of the NumPy type `descr` ("|u1", "<i4", "<f8", "<U12", ...),
// whose little-endian bytes are data[0 .. size). The bytes are not copied:
// they must outlive the writing.
struct NpyMember {
    std::string name;  // without ".npy"
    std::string descr;
    std::vector<std::size_t> shape;
    const void* data = nullptr;
    std::size_t size = 0;
};

// The .npy header of a member (format 1.0, padded so that the data starts at
// a multiple of 64 bytes), or format 2.0 when the header needs more than
// 65535 bytes, which no shape here does.
std::string NpyHeader(const NpyMember& member);

// The members as a .npz archive (a zip file of "NAME.npy" members, stored
// without compression, ZIP64 where sizes need it), written by libzip into
// fd, a new empty file open for writing at offset 0, which it seeks in to
// complete each member's header. Nothing is copied but a buffer at a time.
// On failure: error holds one line and systemError the errno of a failed
// system call (0 when none failed). stop, when given, is read before every
// write (a few kilobytes): once raised, the writing ends with Stopped.
Produced WriteNpz(const std::vector<NpyMember>& members, int fd, int& systemError, std::string& error,
                  const std::atomic<bool>* stop = nullptr);

}  // namespace orbitograph
