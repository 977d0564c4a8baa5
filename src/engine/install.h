// The installation procedure: runs once the run's choices are settled.
#pragma once

// Installs from InstallOptions.sourceFolder into destinationFolder. Reports
// nothing; every step runs whatever the previous ones achieved.
void Install();
