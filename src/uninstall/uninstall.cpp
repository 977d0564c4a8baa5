#include "uninstall/uninstall.h"

// Not built yet: the uninstall procedure arrives with its own change. Until
// then the self-removal copy removes nothing here.
void Uninstall(const char*) {}
