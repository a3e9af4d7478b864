#include "common/atomic_write.h"

#if defined(_WIN32)
#include <windows.h>

#include <algorithm>
#include <atomic>

#include "common/wide_path.h"
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "common/fs_path.h"

namespace t27 {

namespace {

void set_error(std::string* error, const std::string& what) {
    if (error) *error = what + ": " + std::strerror(errno);
}

#if defined(_WIN32)

void set_windows_error(std::string* error, const std::string& what) {
    if (!error) return;
    char text[256] = {};
    const DWORD code = GetLastError();
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                   text, sizeof text, nullptr);
    std::string why = text;
    while (!why.empty() && (why.back() == '\n' || why.back() == '\r' || why.back() == ' '))
        why.pop_back();
    *error = what + ": " + (why.empty() ? "error " + std::to_string(code) : why);
}

#endif

}  // namespace

#if defined(_WIN32)

// A plain rename does not replace an existing file on Windows; MoveFileEx
// does, and the write-through flag keeps the new name from reaching the disk
// before the bytes.
bool write_file_atomically(const std::string& path, const std::string& bytes, std::string* error) {
    static std::atomic<unsigned> serial{0};
    const std::string tmp =
        path + ".tmp" + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(serial++);
    const std::wstring wtmp = wide_path(tmp);
    HANDLE h = CreateFileW(wtmp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        set_windows_error(error, "cannot create a file beside " + path);
        return false;
    }
    bool ok = true;
    std::size_t done = 0;
    while (ok && done < bytes.size()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1 << 30));
        DWORD n = 0;
        ok = WriteFile(h, bytes.data() + done, chunk, &n, nullptr) && n > 0;
        done += n;
    }
    if (ok) ok = FlushFileBuffers(h);
    if (!ok) set_windows_error(error, "cannot write " + path);
    if (!CloseHandle(h) && ok) {
        ok = false;
        set_windows_error(error, "cannot write " + path);
    }
    if (ok && !MoveFileExW(wtmp.c_str(), wide_path(path).c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        ok = false;
        set_windows_error(error, "cannot replace " + path);
    }
    if (!ok) DeleteFileW(wtmp.c_str());
    return ok;
}

#else

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

#endif

bool read_file_bytes(const std::string& path, std::string& out, std::string* error,
                     std::size_t max_bytes, std::size_t tail) {
    std::ifstream in(fs_path(path), std::ios::binary);
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
