// Compiled as part of the lookup library to show that the layers hold: the engine may not
// reach up into the hosts, so this include must not be found.
#include "host/op_log.hpp"
