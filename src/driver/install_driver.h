// The install driver: settles every choice of the installation, then runs the
// wizard or, when silent, the installation itself.
#pragma once

// True when the run ended before the installation (a question declined, the
// wizard cancelled); false when the installation procedure ran.
bool RunInstallDriver();
