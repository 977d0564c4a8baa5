#include "driver/install_options.h"

// Created with its initial values before start-up runs; lives until the end.
InstallOptionsRecord InstallOptions;
