// The batch stream over pipes: any bytes, written in pieces of random sizes,
// answered on one to four threads in chunks of 16 to 271 bytes with a line
// limit of 0 to 255 bytes, so that chunks, buffers that grow for a long line,
// overlong lines and the order of the answers all come into play. The run must
// end with 0 and write exactly one answer line for every input line (a last
// line without its line break included), in order, each the answer of that
// line alone, or the overlong answer for a line over the limit.
//
// Input: four bytes of settings (threads, chunk size, line limit, the seed of
// the piece sizes), then the stream's bytes.

#include <signal.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <thread>

#include "cli/Batch.h"

namespace {

// The answers the stream must give: each line answered alone.
std::string Expected(std::string_view input, std::size_t maxLine) {
    const std::string overlong = "{\"ok\": false, \"error\": \"usage\", \"message\": \"the line is longer than " +
                                 std::to_string(maxLine) + " bytes\"}\n";
    std::string out;
    while (!input.empty()) {
        const std::size_t end = std::min(input.find('\n'), input.size());
        const std::string_view line = input.substr(0, end);
        if (line.size() > maxLine) {
            out += overlong;
        } else {
            vesk::cli::AppendBatchAnswer(line, out);
        }
        input.remove_prefix(std::min(end + 1, input.size()));
    }
    return out;
}

// Writes all of `data` to `fd` in pieces of 1 to 256 bytes, a yield between
// them, so that the reader finds lines cut anywhere; then closes `fd`.
void WriteInPieces(int fd, std::string_view data, std::uint32_t seed) {
    std::uint32_t state = seed | 1;
    while (!data.empty()) {
        state ^= state << 13;  // xorshift32
        state ^= state >> 17;
        state ^= state << 5;
        const std::size_t piece = std::min<std::size_t>(data.size(), 1 + (state & 0xFF));
        const ssize_t written = ::write(fd, data.data(), piece);
        if (written <= 0) break;
        data.remove_prefix(static_cast<std::size_t>(written));
        std::this_thread::yield();
    }
    ::close(fd);
}

std::string ReadAll(int fd) {
    std::string text;
    char chunk[4096];
    for (ssize_t got; (got = ::read(fd, chunk, sizeof chunk)) > 0;) text.append(chunk, static_cast<std::size_t>(got));
    ::close(fd);
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // A stream that ended early must fail the check below, not kill the writer.
    static const bool kPipesQuiet = ::signal(SIGPIPE, SIG_IGN) != SIG_ERR;
    (void)kPipesQuiet;
    if (size < 4) return 0;
    vesk::cli::BatchOptions options;
    options.threads = 1u + data[0] % 4u;
    options.chunkBytes = 16u + data[1];
    options.maxLine = data[2];
    const std::uint32_t seed = data[3] * 0x9E3779B1u;
    const std::string_view input(reinterpret_cast<const char*>(data + 4), size - 4);

    int in[2], out[2];
    if (::pipe(in) != 0) std::abort();
    if (::pipe(out) != 0) std::abort();
    std::thread writer(WriteInPieces, in[1], input, seed);
    std::string answers;
    std::thread reader([&] { answers = ReadAll(out[0]); });
    const int code = vesk::cli::RunBatch(in[0], out[1], stderr, options);
    ::close(in[0]);
    ::close(out[1]);
    writer.join();
    reader.join();
    if (code != 0) std::abort();
    if (answers != Expected(input, options.maxLine)) std::abort();
    return 0;
}
