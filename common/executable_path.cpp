#include "common/executable_path.h"

#if defined(_WIN32)
#include <windows.h>

#include "common/wide_path.h"
#elif defined(__APPLE__)
#include <mach-o/dyld.h>

#include <climits>
#include <cstdlib>
#else
#include <unistd.h>
#endif

#include <vector>

namespace t27 {

std::string executable_path() {
#if defined(_WIN32)
    std::vector<wchar_t> buf(MAX_PATH);
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
        if (n == 0) return {};
        if (n < buf.size()) return narrow_path(std::wstring(buf.data(), n));
        if (buf.size() >= 32768) return {};
        buf.resize(buf.size() * 2);
    }
#elif defined(__APPLE__)
    std::uint32_t size = 0;
    _NSGetExecutablePath(nullptr, &size);
    std::vector<char> raw(size + 1, '\0');
    if (_NSGetExecutablePath(raw.data(), &size) != 0) return {};
    // The loader may answer with a path through a symbolic link or with "..";
    // the folder beside it must be the real one.
    char real[PATH_MAX];
    return ::realpath(raw.data(), real) ? std::string(real) : std::string(raw.data());
#else
    std::vector<char> buf(4096);
    const ssize_t n = ::readlink("/proc/self/exe", buf.data(), buf.size() - 1);
    if (n <= 0) return {};
    return std::string(buf.data(), static_cast<std::size_t>(n));
#endif
}

std::string executable_dir() {
    const std::string path = executable_path();
#if defined(_WIN32)
    const std::size_t slash = path.find_last_of("\\/");
#else
    const std::size_t slash = path.rfind('/');
#endif
    if (slash == std::string::npos) return ".";
    return slash == 0 ? path.substr(0, 1) : path.substr(0, slash);
}

}  // namespace t27
