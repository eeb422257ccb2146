#pragma once
// The files the program keeps while it runs (the single-instance socket and its lock) are
// removed on every way out it can see: quit, the end of main or exit(), SIGTERM, SIGINT,
// SIGHUP, and the display going away. Removing only unlinks, so it is safe in a signal handler.

#include <string>

namespace vembrel {

// Removes the file at the end. A few paths at most, noted from the main thread at start-up.
void remove_at_exit(const std::string& path);

// Removes the noted files now, in the order they were noted, and forgets them. Safe in a
// signal handler, and for quitting "at once" with _Exit.
void remove_runtime_files();

}  // namespace vembrel
