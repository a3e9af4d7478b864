#pragma once
// A scratch folder for one test, removed with everything in it afterwards.
#include <filesystem>
#include <fstream>
#include <string>

#include "tests/support/unique_temp_dir.h"

namespace t27::test {

class TempDir {
  public:
    TempDir() { path_ = make_unique_temp_dir("t27-edid-"); }
    ~TempDir() {
        std::error_code ec;
        if (!path_.empty()) std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    std::string file(const std::string& name) const { return path_ + "/" + name; }

    std::string write(const std::string& name, const std::string& bytes) const {
        std::ofstream(file(name), std::ios::binary) << bytes;
        return file(name);
    }

    static std::string read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

  private:
    std::string path_;
};

}  // namespace t27::test
