#pragma once
// A fresh directory under the system's temporary folder, removed with its
// contents when the test ends.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "tests/support/unique_temp_dir.h"

namespace t27::test {

class TempDir {
  public:
    TempDir() { path_ = make_unique_temp_dir("t27gen."); }
    ~TempDir() {
        std::error_code ec;
        if (!path_.empty()) std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

    void write(const std::string& name, const std::string& bytes) const {
        std::ofstream out(file(name), std::ios::binary);
        out << bytes;
    }
    std::string read(const std::string& name) const {
        std::ifstream in(file(name), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

  private:
    std::string path_;
};

}  // namespace t27::test
