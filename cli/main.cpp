#include <string>
#include <vector>

#include "cli/CommandLine.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    return vesk::cli::RunCalculator(args, stdout, stderr);
}
