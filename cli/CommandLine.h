#pragma once
// The command-line calculator:
//   vesk310-calc [--decimal-separator C] weekday Y M D
//   vesk310-calc [--decimal-separator C] span Y1 M1 D1 Y2 M2 D2
//   vesk310-calc [--decimal-separator C] after Y M D N
//   vesk310-calc uptime [MS]
//   vesk310-calc [--decimal-separator C] --batch
// Exit codes: 0 answered, 1 the page failed (the error box's text on stderr),
// 2 bad usage.

#include <cstdio>
#include <string>
#include <vector>

namespace vesk::cli {

// Runs the calculator on its arguments (without the program name), writing
// to the given streams; returns the exit code. Never raises.
int RunCalculator(const std::vector<std::string>& args, std::FILE* out, std::FILE* err);

}  // namespace vesk::cli
