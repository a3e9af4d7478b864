#include "common/atomic_write.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>

namespace t27 {

namespace {

void set_error(std::string* error, const std::string& what) {
    if (error) *error = what + ": " + std::strerror(errno);
}

}  // namespace

bool write_file_atomically(const std::string& path, const std::string& bytes, std::string* error) {
    std::string tmp = path + ".tmpXXXXXX";
    int fd = ::mkstemp(tmp.data());
    if (fd < 0) {
        set_error(error, "cannot create a file beside " + path);
        return false;
    }
    const char* p = bytes.data();
    std::size_t left = bytes.size();
    bool ok = true;
    while (left > 0) {
        ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            ok = false;
            break;
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    if (ok && ::fsync(fd) != 0) ok = false;
    if (!ok) set_error(error, "cannot write " + path);
    // mkstemp creates the file 0600; a saved report or EDID should be as
    // readable as any file the user makes.
    mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);
    if (::close(fd) != 0 && ok) {
        ok = false;
        set_error(error, "cannot write " + path);
    }
    if (ok && ::rename(tmp.c_str(), path.c_str()) != 0) {
        ok = false;
        set_error(error, "cannot replace " + path);
    }
    if (!ok) ::unlink(tmp.c_str());
    return ok;
}

bool read_file_bytes(const std::string& path, std::string& out, std::string* error,
                     std::size_t max_bytes, std::size_t tail) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        set_error(error, "cannot open " + path);
        return false;
    }
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    if (size < 0) {
        set_error(error, "cannot read " + path);
        return false;
    }
    std::streamoff from = 0;
    std::streamoff count = size;
    if (tail > 0 && static_cast<std::size_t>(size) > tail) {
        from = size - static_cast<std::streamoff>(tail);
        count = static_cast<std::streamoff>(tail);
    }
    if (static_cast<std::size_t>(count) > max_bytes) {
        if (error) *error = path + " is too large";
        return false;
    }
    in.seekg(from, std::ios::beg);
    out.assign(static_cast<std::size_t>(count), '\0');
    if (count > 0 && !in.read(out.data(), count)) {
        set_error(error, "cannot read " + path);
        return false;
    }
    return true;
}

}  // namespace t27
