#include "app/app_dir.hpp"

#include <filesystem>
#include <system_error>

namespace vembrel {

std::string application_directory() {
  std::error_code error;
  const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return std::filesystem::current_path(error).string();
  return exe.parent_path().string();
}

}  // namespace vembrel
