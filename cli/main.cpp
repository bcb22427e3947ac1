#include "cli/CommandLine.h"

int main(int argc, char** argv) { return vesk::cli::RunCommandLine(argc, argv); }
