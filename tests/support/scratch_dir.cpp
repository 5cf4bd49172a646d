#include "tests/support/scratch_dir.hpp"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <system_error>

namespace gapmerge::test {

ScratchDir::ScratchDir() {
  std::string name = (std::filesystem::temp_directory_path() / "gapmerge-test-XXXXXX").string();
  if (::mkdtemp(name.data()) == nullptr) {
    throw std::runtime_error("cannot create a scratch folder");
  }
  path_ = std::filesystem::canonical(name);
}

ScratchDir::~ScratchDir() {
  std::error_code error;
  std::filesystem::remove_all(path_, error);
}

std::string ScratchDir::asWorkingDirectory() const {
  return path_.string() + "/";
}

std::filesystem::path ScratchDir::write(const std::filesystem::path& relative,
                                        std::string_view bytes) const {
  const auto file = path_ / relative;
  std::filesystem::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary | std::ios::trunc)
      .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return file;
}

void ScratchDir::copyExamples() const {
  for (const auto& entry : std::filesystem::directory_iterator(EXAMPLES_DIR)) {
    if (entry.path().filename().string().starts_with("Tramvelok")) {
      std::filesystem::copy_file(entry.path(), path_ / entry.path().filename());
    }
  }
}

std::string readFile(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace gapmerge::test
