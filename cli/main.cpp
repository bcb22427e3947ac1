#include <string>
#include <vector>

#include "cli/CommandLine.h"

#ifdef _WIN32
#include <windows.h>
#include <shellapi.h>

#include <fcntl.h>
#include <io.h>
#include <cstdio>
#include <cstdlib>

namespace {

std::string ToUtf8(const wchar_t* text) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1) return {};
    std::string out(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), size, nullptr, nullptr);
    out.pop_back();  // the terminating null
    return out;
}

// The arguments as UTF-8, whatever the console's code page: the narrow argv
// has already lost every character outside that code page.
std::vector<std::string> Utf8Arguments() {
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (wide == nullptr) {
        std::fputs("vesk310-calc: cannot read the command line\n", stderr);
        std::exit(2);
    }
    std::vector<std::string> args;
    for (int i = 1; i < count; ++i) args.push_back(ToUtf8(wide[i]));
    LocalFree(wide);
    return args;
}

// Bytes in and out as they are: no CRLF translation and no end at Ctrl-Z, so
// that the batch mode reads and writes what it does on every other platform.
// The texts are UTF-8; a console shows them as such.
void UseBinaryUtf8Streams() {
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    SetConsoleOutputCP(CP_UTF8);
}

}  // namespace

int main() {
    UseBinaryUtf8Streams();
    return vesk::cli::RunCalculator(Utf8Arguments(), stdout, stderr);
}

#else

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    return vesk::cli::RunCalculator(args, stdout, stderr);
}

#endif
