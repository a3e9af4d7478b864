#pragma once
// Files are written whole or not at all: the bytes go to a temporary file in
// the same folder, which is flushed and then renamed over the target. A crash
// or a full disk mid-write leaves the old file untouched.
#include <string>

namespace t27 {

// Returns true when `path` now holds exactly `bytes`. On failure the target is
// unchanged, no temporary file is left behind, and `error` (if given) says why.
bool write_file_atomically(const std::string& path, const std::string& bytes,
                           std::string* error = nullptr);

// Reads a whole file as bytes. False when it cannot be opened or read, or is
// larger than `max_bytes` (so a 10 GB file picked by mistake is refused quickly).
// `tail`, when not 0, reads only the last `tail` bytes of a longer file.
bool read_file_bytes(const std::string& path, std::string& out, std::string* error = nullptr,
                     std::size_t max_bytes = 64u * 1024u * 1024u, std::size_t tail = 0);

}  // namespace t27
