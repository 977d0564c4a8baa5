#include "engine/install.h"

// Not built yet: the installation procedure arrives with the install engine.
// Until then nothing is installed here.
void Install() {}
