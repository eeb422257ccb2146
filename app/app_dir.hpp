#pragma once
// The application directory: the directory that holds the data files, the character and the
// help text. In a build tree that is the directory of the running executable; an installed
// program finds them under share/vembrel beside its bin directory.

#include <string>

namespace vembrel {

std::string application_directory();

}  // namespace vembrel
