// Compiled as part of the menu library to show that the layers hold: the menu may not reach
// up into the main form, so this include must not be found.
#include "app/vembrel.hpp"
