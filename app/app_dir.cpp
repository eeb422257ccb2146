#include "app/app_dir.hpp"

#include <filesystem>
#include <system_error>

namespace vembrel {

std::string application_directory() {
  std::error_code error;
  const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return std::filesystem::current_path(error).string();
  const std::filesystem::path beside = exe.parent_path();
  // A build tree keeps the files beside the executable; an installed program finds them where
  // the install put them, at the same place relative to its own bin directory.
  if (!std::filesystem::exists(beside / "dh.vr", error)) {
    const std::filesystem::path installed =
        (beside / VEMBREL_INSTALLED_DATA_DIR).lexically_normal();
    if (std::filesystem::exists(installed / "dh.vr", error)) return installed.string();
  }
  return beside.string();
}

}  // namespace vembrel
