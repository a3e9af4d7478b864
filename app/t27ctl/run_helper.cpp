#include "app/t27ctl/run_helper.h"

#include <cerrno>
#include <cstring>
#include <fstream>

#if defined(_WIN32)
#include <process.h>

#include "common/wide_path.h"
#else
#include <unistd.h>
#endif

#ifndef T27_HELPER_FROM_BIN
#define T27_HELPER_FROM_BIN "../libexec/t27-controller"
#endif

namespace t27 {

namespace {

#if defined(_WIN32)
constexpr const char* exe_suffix = ".exe";
constexpr char sep = '\\';
#else
constexpr const char* exe_suffix = "";
constexpr char sep = '/';
#endif

bool exists(const std::string& path) { return std::ifstream(path).good(); }

}  // namespace

std::string windows_quoted_arg(const std::string& arg) {
    if (!arg.empty() && arg.find_first_of(" \t\n\v\"") == std::string::npos) return arg;
    std::string out = "\"";
    std::size_t backslashes = 0;
    for (const char c : arg) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        if (c == '"') backslashes = backslashes * 2 + 1;
        out.append(backslashes, '\\');
        backslashes = 0;
        out += c;
    }
    // The closing quote must not be escaped by trailing backslashes.
    out.append(backslashes * 2, '\\');
    out += '"';
    return out;
}

std::string helper_path(const std::string& exe_dir, const std::string& name) {
    const std::string beside = exe_dir + sep + name + exe_suffix;
    const std::string installed = exe_dir + sep + T27_HELPER_FROM_BIN + sep + name + exe_suffix;
    if (!exists(beside) && exists(installed)) return installed;
    return beside;
}

int run_helper(const std::string& program, const std::vector<std::string>& args,
               std::string& error) {
#if defined(_WIN32)
    // _wspawnv joins argv with spaces and no quoting of its own.
    std::vector<std::wstring> wide;
    for (const std::string& a : args) wide.push_back(wide_path(windows_quoted_arg(a)));
    std::vector<const wchar_t*> argv;
    for (const std::wstring& w : wide) argv.push_back(w.c_str());
    argv.push_back(nullptr);
    const intptr_t rc = _wspawnv(_P_WAIT, wide_path(program).c_str(), argv.data());
    if (rc == -1) {
        error = std::strerror(errno);
        return -1;
    }
    return static_cast<int>(rc);
#else
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    ::execv(program.c_str(), argv.data());
    error = std::strerror(errno);
    return -1;
#endif
}

}  // namespace t27
