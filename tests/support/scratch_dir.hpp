#pragma once

#include <filesystem>
#include <string>
#include <string_view>

// A fresh folder under the system's temporary folder, removed with its contents
// when the object goes.
namespace gapmerge::test {

class ScratchDir {
 public:
  ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;
  ~ScratchDir();

  [[nodiscard]] const std::filesystem::path& path() const { return path_; }
  // The folder as the program names it: its physical path with a final "/".
  [[nodiscard]] std::string asWorkingDirectory() const;

  // Writes bytes to a file below the folder, creating its parent folders.
  std::filesystem::path write(const std::filesystem::path& relative, std::string_view bytes) const;

  // Copies the bundled example reports into the folder.
  void copyExamples() const;

 private:
  std::filesystem::path path_;
};

// The whole content of a file; "" when it cannot be read.
std::string readFile(const std::filesystem::path& file);

}  // namespace gapmerge::test
