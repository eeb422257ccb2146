#pragma once
// The application directory: the directory that holds the running executable. Data files, the
// character and the help text are found there, whatever the working directory.

#include <string>

namespace vembrel {

std::string application_directory();

}  // namespace vembrel
