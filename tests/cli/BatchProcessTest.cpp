// The batch calculator as a process under failing streams, memory limits and
// signals: one whole answer line for every line, and no failure reported as
// success.

#include <gtest/gtest.h>

#if defined(VESK310_CALC) && !defined(_WIN32)

#include <fcntl.h>
#include <poll.h>
#include <sched.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "cli/Processors.h"

namespace {

constexpr const char* kWeekday = R"({"page": "weekday", "fields": ["2001", "1", "1"]})";
constexpr const char* kWeekdayAnswer =
    R"({"ok": true, "texts": ["  2001年1月1日は（月）曜日です。"], "values": {"weekday": 1}})";
constexpr const char* kSpan =
    R"({"page": "span", "fields": ["2001", "1", "1", "2024", "2", "29"]})";

struct Outcome {
    int status = -1;
    std::string out, err;
    bool Exited(int code) const { return WIFEXITED(status) && WEXITSTATUS(status) == code; }
};

std::string ReadFile(const std::string& path) {
    std::string text;
    if (std::FILE* file = std::fopen(path.c_str(), "rb")) {
        char chunk[1 << 16];
        for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, file)) > 0;) text.append(chunk, n);
        std::fclose(file);
    }
    return text;
}

class TempFile {
public:
    explicit TempFile(const std::string& content = "") {
        char name[] = "/tmp/vesk310-batch-XXXXXX";
        const int fd = mkstemp(name);
        path_ = name;
        for (std::size_t at = 0; at < content.size();) {
            const ssize_t n = write(fd, content.data() + at, content.size() - at);
            if (n <= 0) break;
            at += static_cast<std::size_t>(n);
        }
        close(fd);
    }
    ~TempFile() { unlink(path_.c_str()); }
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

// Starts `vesk310-calc args` with standard input from `in`, standard output and
// error to files; `child` runs in the child before exec to change that.
// `parent` runs while the child lives and gets its pid.
Outcome Calculator(const std::vector<std::string>& args, const TempFile& in, const std::function<void()>& child = {},
               const std::function<void(pid_t)>& parent = {}) {
    const TempFile out, err;
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(open(in.Path().c_str(), O_RDONLY), 0);
        dup2(open(out.Path().c_str(), O_WRONLY), 1);
        dup2(open(err.Path().c_str(), O_WRONLY), 2);
        if (child) child();
        std::vector<char*> argv = {const_cast<char*>(VESK310_CALC)};
        for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    if (parent) parent(pid);
    Outcome run;
    waitpid(pid, &run.status, 0);
    run.out = ReadFile(out.Path());
    run.err = ReadFile(err.Path());
    return run;
}

std::string Lines(const std::string& line, int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += line + "\n";
    return text;
}

// Every line of `out` is a whole answer.
void ExpectWholeAnswers(const std::string& out) {
    ASSERT_TRUE(out.empty() || out.back() == '\n');
    for (std::size_t at = 0; at < out.size();) {
        const std::size_t end = out.find('\n', at);
        const std::string line = out.substr(at, end - at);
        ASSERT_EQ(line.rfind("{\"ok\": ", 0), 0u) << line;
        ASSERT_EQ(line.back(), '}') << line;
        at = end + 1;
    }
}

TEST(BatchProcess, StreamErrorsAreReportedAndExitOne) {
    const TempFile many(Lines(kWeekday, 200000));
    const struct {
        const char* name;
        std::function<void()> child;
        const char* message;
    } cases[] = {
        {"output to /dev/full", [] { dup2(open("/dev/full", O_WRONLY), 1); },
         "vesk310-calc: write error: No space left on device\n"},
        {"output closed", [] { close(1); }, "vesk310-calc: write error: Bad file descriptor\n"},
        {"output a pipe whose reader is gone, SIGPIPE ignored",
         [] {
             int fds[2];
             if (pipe(fds) != 0) _exit(99);
             close(fds[0]);
             dup2(fds[1], 1);
             signal(SIGPIPE, SIG_IGN);
         },
         "vesk310-calc: write error: Broken pipe\n"},
        {"input closed", [] { close(0); }, "vesk310-calc: read error: Bad file descriptor\n"},
        {"input a directory", [] { dup2(open("/tmp", O_RDONLY | O_DIRECTORY), 0); },
         "vesk310-calc: read error: Is a directory\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Outcome run = Calculator({"--batch"}, many, c.child);
        EXPECT_TRUE(run.Exited(1)) << run.status;
        EXPECT_EQ(run.err, c.message);
    }
}

TEST(BatchProcess, TheRunsSeparatorHoldsWhereALineHasNone) {
    const TempFile in(R"({"page": "after", "fields": ["2001", "1", "1", "0;5"]})"
                      "\n"
                      R"({"page": "after", "fields": ["2001", "1", "1", "0.5"], "separator": "."})"
                      "\n");
    const Outcome run = Calculator({"--decimal-separator", ";", "--batch"}, in);
    EXPECT_TRUE(run.Exited(0));
    EXPECT_EQ(
        run.out,
        R"({"ok": true, "texts": ["  2001年 1月 1;5日です。"], "values": {"year": 2001, "month": 1, "day": 1.5, "date": null}})"
        "\n"
        R"({"ok": true, "texts": ["  2001年 1月 1.5日です。"], "values": {"year": 2001, "month": 1, "day": 1.5, "date": null}})"
        "\n");
}

TEST(BatchProcess, EachAnswerComesWhileTheToolWaitsForIt) {
    const TempFile none;
    int in[2], out[2];
    ASSERT_EQ(pipe(in), 0);
    ASSERT_EQ(pipe(out), 0);
    const Outcome run = Calculator(
        {"--batch"}, none,
        [&] {
            dup2(in[0], 0);
            dup2(out[1], 1);
            close(in[1]);
            close(out[0]);
        },
        [&](pid_t) {
            close(in[0]);
            close(out[1]);
            // One line at a time: the next is sent only after the answer came.
            const auto talk = [&] {
                for (int i = 0; i < 3; ++i) {
                    const std::string line = std::string(kWeekday) + "\n";
                    ASSERT_EQ(write(in[1], line.data(), line.size()), static_cast<ssize_t>(line.size()));
                    std::string answer;
                    while (answer.empty() || answer.back() != '\n') {
                        pollfd ready = {out[0], POLLIN, 0};
                        ASSERT_EQ(poll(&ready, 1, 10000), 1) << "no answer to line " << i;
                        char chunk[4096];
                        const ssize_t n = read(out[0], chunk, sizeof chunk);
                        ASSERT_GT(n, 0);
                        answer.append(chunk, static_cast<std::size_t>(n));
                    }
                    EXPECT_EQ(answer, std::string(kWeekdayAnswer) + "\n");
                }
            };
            talk();
            close(in[1]);
            close(out[0]);
        });
    EXPECT_TRUE(run.Exited(0));
}

TEST(BatchProcess, ANonBlockingInputIsWaitedFor) {
    const TempFile none;
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    fcntl(fds[0], F_SETFL, fcntl(fds[0], F_GETFL) | O_NONBLOCK);  // shared with the child
    const Outcome run = Calculator(
        {"--batch"}, none, [&] { dup2(fds[0], 0); close(fds[1]); },
        [&](pid_t) {
            close(fds[0]);
            for (int i = 0; i < 5; ++i) {
                std::this_thread::sleep_for(std::chrono::milliseconds(30));
                const std::string line = std::string(kWeekday) + "\n";
                ASSERT_EQ(write(fds[1], line.data(), line.size()), static_cast<ssize_t>(line.size()));
            }
            close(fds[1]);
        });
    EXPECT_TRUE(run.Exited(0));
    EXPECT_EQ(run.out, Lines(kWeekdayAnswer, 5));
}

TEST(BatchProcess, EveryLineIsAnsweredUnderAMemoryLimit) {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    GTEST_SKIP() << "the sanitizer's shadow memory needs more address space than the limit";
#endif
    // Lines of exactly 16 MiB: one field of digits in 100 MB of address
    // space; 5.59 million empty fields in 200 MB.
    constexpr std::size_t kLine = 16u << 20;
    const std::string head = R"({"page": "weekday", "fields": [")", tail = R"(", "1", "1"]})";
    const std::string digits = head + std::string(kLine - head.size() - tail.size(), '7') + tail;
    std::string empties = R"({"page": "weekday", "fields": ["")";
    std::size_t emptyCount = 1;
    for (; empties.size() + 3 + 2 <= kLine; ++emptyCount) empties += R"(,"")";
    empties += std::string(kLine - empties.size() - 2, ' ') + "]}";
    const std::string manyFields =
        R"({"ok": false, "error": "usage", "message": "weekday takes 3 fields (year, month, day) or a date, not )" +
        std::to_string(emptyCount) + "\"}";
    const struct {
        const char* name;
        const std::string& line;
        rlim_t limit;
    } cases[] = {{"16 MiB field", digits, 100000u << 10},
                 {"16 MiB field, no room to hold the line", digits, 30000u << 10},
                 {"5.6 million fields", empties, 200000u << 10}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(c.line.size(), kLine);
        const TempFile in(c.line + "\n" + kWeekday + "\n" + c.line + "\n" + kWeekday + "\n");
        const Outcome run = Calculator({"--batch"}, in, [&] {
            const rlimit limit = {c.limit, c.limit};
            setrlimit(RLIMIT_AS, &limit);
        });
        EXPECT_TRUE(run.Exited(0)) << run.status << run.err;
        ExpectWholeAnswers(run.out);
        std::vector<std::string> lines;
        for (std::size_t at = 0; at < run.out.size(); at = run.out.find('\n', at) + 1) {
            lines.push_back(run.out.substr(at, run.out.find('\n', at) - at));
        }
        ASSERT_EQ(lines.size(), 4u);
        EXPECT_EQ(lines[1], kWeekdayAnswer);
        EXPECT_EQ(lines[3], kWeekdayAnswer);
        for (const std::size_t i : {0u, 2u}) {
            // The answer as built, or the memory failure's; never a crash.
            EXPECT_TRUE(lines[i].rfind(R"({"ok": false, "error": "EConvertError", "message": "'7777)", 0) == 0 ||
                        lines[i] == R"({"ok": false, "error": "EOutOfMemory", "message": "メモリが足りません"})" ||
                        lines[i] == manyFields)
                << lines[i].substr(0, 100);
        }
    }
}

TEST(BatchProcess, AStopSignalEndsAfterWholeLinesWithItsExitCode) {
    signal(SIGPIPE, SIG_IGN);  // the writer below outlives its reader
    const TempFile none;
    for (const int stop : {SIGTERM, SIGINT, SIGHUP}) {
        SCOPED_TRACE(stop);
        int fds[2];
        ASSERT_EQ(pipe(fds), 0);
        const Outcome run = Calculator(
            {"--batch"}, none, [&] { dup2(fds[0], 0); close(fds[1]); },
            [&](pid_t pid) {
                close(fds[0]);
                // Lines keep coming while the signal arrives.
                std::thread writer([&] {
                    const std::string lines = Lines(R"({"page": "span", "fields": ["2001", "1", "1", "2101", "3", "1.5"]})", 1000);
                    while (write(fds[1], lines.data(), lines.size()) > 0) {
                    }
                });
                // Once answers are coming (a sanitizer's build starts slowly).
                const std::string output = "/proc/" + std::to_string(pid) + "/fd/1";
                struct stat written {};
                for (int i = 0;
                     i < 2000 && (stat(output.c_str(), &written) != 0 || written.st_size == 0);
                     ++i) {
                    std::this_thread::sleep_for(std::chrono::milliseconds(10));
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
                kill(pid, stop);
                writer.join();  // ends when the calculator has gone
                close(fds[1]);
            });
        EXPECT_TRUE(run.Exited(128 + stop)) << run.status;
        EXPECT_GT(run.out.size(), 0u);
        ExpectWholeAnswers(run.out);
    }
}

TEST(BatchProcess, ABrokenPipeEndsTheRunBySignalUnlessTheSignalIsIgnored) {
    // The ignored case, exit 1 with the write error, is a row of the table above.
    const TempFile many(Lines(kWeekday, 200000));
    const Outcome run = Calculator({"--batch"}, many, [] {
        int fds[2];
        if (pipe(fds) != 0) _exit(99);
        close(fds[0]);
        dup2(fds[1], 1);
        signal(SIGPIPE, SIG_DFL);  // as a shell starts it, whatever this test process does
    });
    EXPECT_TRUE(WIFSIGNALED(run.status) && WTERMSIG(run.status) == SIGPIPE)
        << run.status;  // 141 in a shell
    EXPECT_EQ(run.err, "");
}

// The threads of a process, from /proc.
std::size_t TaskCount(pid_t pid) {
    const std::filesystem::path tasks = "/proc/" + std::to_string(pid) + "/task";
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(tasks), {}));
}

TEST(BatchProcess, ThreadsFollowTheProcessorsThatMayBeUsedOrTheThreadsOption) {
#if defined(__SANITIZE_THREAD__)
    GTEST_SKIP() << "the thread sanitizer starts a thread of its own with the program's first";
#endif
    cpu_set_t mine;
    ASSERT_EQ(sched_getaffinity(0, sizeof mine, &mine), 0);
    std::size_t first = 0;
    while (!CPU_ISSET(first, &mine)) ++first;
    // One worker is the reading thread itself; two or more are a pool beside it.
    const auto tasks = [](unsigned workers) { return workers < 2 ? 1u : workers + 1; };
    const unsigned usable = std::min(vesk::cli::UsableProcessors(), 8u);
    const struct {
        const char* name;
        bool oneProcessor;  // the child may run on one processor only (taskset -c)
        std::vector<std::string> args;
        unsigned expectedTasks;
    } cases[] = {
        {"the processors this test may use", false, {"--batch"}, tasks(usable)},
        {"an affinity mask of one processor", true, {"--batch"}, 1},
        {"--threads over the mask", true, {"--threads", "3", "--batch"}, 4},
        {"--threads 1", false, {"--threads=1", "--batch"}, 1},
    };
    // More than a chunk of lines from a file, so that a pool starts before the
    // first answer is written; the answers fill the pipe, so the calculator
    // waits with its threads until they are read.
    constexpr int kLines = 20000;
    const TempFile in(Lines(kSpan, kLines));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        int out[2];
        ASSERT_EQ(pipe(out), 0);
        std::size_t seen = 0, answers = 0;
        const Outcome run = Calculator(
            c.args, in,
            [&] {
                dup2(out[1], 1);
                close(out[0]);
                if (c.oneProcessor) {
                    cpu_set_t one;
                    CPU_ZERO(&one);
                    CPU_SET(first, &one);
                    if (sched_setaffinity(0, sizeof one, &one) != 0) _exit(98);
                }
            },
            [&](pid_t pid) {
                close(out[1]);
                pollfd ready = {out[0], POLLIN, 0};
                if (poll(&ready, 1, 20000) == 1) seen = TaskCount(pid);
                char chunk[1 << 16];
                for (ssize_t n; (n = read(out[0], chunk, sizeof chunk)) > 0;) {
                    answers += static_cast<std::size_t>(std::count(chunk, chunk + n, '\n'));
                }
                close(out[0]);
            });
        EXPECT_TRUE(run.Exited(0)) << run.status << run.err;
        EXPECT_EQ(seen, c.expectedTasks);
        EXPECT_EQ(answers, static_cast<std::size_t>(kLines));
    }
}

TEST(BatchProcess, TheThreadsOptionTakesAWholeNumberFrom1To1024) {
    const TempFile in(Lines(kWeekday, 1));
    for (const char* bad :
         {"0", "-1", "+2", " 2", "2 ", "2k", "0x10", "", "1025", "99999999999999999999"}) {
        SCOPED_TRACE(bad);
        const Outcome run = Calculator({"--threads", bad, "--batch"}, in);
        EXPECT_TRUE(run.Exited(2)) << run.status;
        EXPECT_EQ(run.err, "vesk310-calc: --threads takes a whole number from 1 to 1024, not '" +
                               std::string(bad) +
                               "'\nTry 'vesk310-calc --help' for more information.\n");
    }
    for (const char* good : {"1", "007", "1024"}) {
        SCOPED_TRACE(good);
        const Outcome run = Calculator({"--threads", good, "--batch"}, in);
        EXPECT_TRUE(run.Exited(0)) << run.status << run.err;
        EXPECT_EQ(run.out, std::string(kWeekdayAnswer) + "\n");
    }
}

TEST(BatchProcess, ShortOfAddressSpaceEveryLineIsAnsweredOrOutOfMemoryIsSaid) {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    GTEST_SKIP() << "the sanitizer's shadow memory needs more address space than the limits";
#endif
    // A memory failure of the stream's own buffers is no read error. The
    // address space a calculator needs before it reads a line differs from
    // machine to machine (its libraries, the loader), about 6.2 MB on a
    // Debian 12 x86-64 build: the least limit at which --version runs is
    // found first, to 16 KiB. The rows leave the batch mode a little more,
    // up to the "ulimit -v 7000" (7000 KiB) where a stream that took its
    // failure for a read error had answered 0 to 2,000 of the lines; and on
    // two threads, whose stacks take 8 MiB each (ulimit -s 8192), from 10 to
    // 24 MiB more: there one thread starts, then both, and the answers of
    // their chunks run short of memory, so that the reading thread finishes
    // those chunks.
    const TempFile none;
    const auto limited = [](rlim_t bytes) {
        return [bytes] {
            const rlimit limit = {bytes, bytes};
            setrlimit(RLIMIT_AS, &limit);
        };
    };
    rlim_t fails = 1000u << 10, least = 64000u << 10;
    ASSERT_TRUE(Calculator({"--version"}, none, limited(least)).Exited(0))
        << "the calculator does not start in 64 MB";
    while (least - fails > (16u << 10)) {
        const rlim_t middle = (fails + least) / 2;
        (Calculator({"--version"}, none, limited(middle)).Exited(0) ? least : fails) = middle;
    }

    signal(SIGPIPE, SIG_IGN);  // the writer below may outlive its reader
    constexpr int kLines = 300000;
    const std::string lines = Lines(kSpan, kLines);
    const std::string spanAnswer =
        R"({"ok": true, "texts": ["(１)から(２)までの日数は  8459日です。", " およそ  23年  2ヶ月...です。"], "values": {"days": 8459, "years": 23, "months": 2}})";
    const std::string outOfMemory =
        R"({"ok": false, "error": "EOutOfMemory", "message": "メモリが足りません"})";
    std::vector<std::pair<std::string, rlim_t>> rows;  // threads, limit
    for (const rlim_t more : {0u, 16u, 64u, 256u, 1024u})
        rows.emplace_back("1", least + (more << 10));
    if (least < (7000u << 10)) rows.emplace_back("1", 7000u << 10);
    for (rlim_t more = 10; more <= 24; more += 2) rows.emplace_back("2", least + (more << 20));
    for (const auto& [threads, limit] : rows) {
        SCOPED_TRACE(threads + " threads, " + std::to_string(limit >> 10) + " KiB");
        int fds[2];
        ASSERT_EQ(pipe(fds), 0);
        const Outcome run = Calculator(
            {"--threads", threads, "--batch"}, none,
            [&] {
                dup2(fds[0], 0);
                close(fds[1]);
                limited(limit)();
            },
            [&](pid_t) {
                close(fds[0]);
                for (std::size_t at = 0; at < lines.size();) {
                    const ssize_t n = write(fds[1], lines.data() + at,
                                            std::min<std::size_t>(lines.size() - at, 1 << 16));
                    if (n <= 0) break;  // the calculator has gone
                    at += static_cast<std::size_t>(n);
                }
                close(fds[1]);
            });
        // Each answer is the line's own or the memory failure's, in order.
        std::size_t answers = 0;
        for (std::size_t at = 0; at < run.out.size(); ++answers) {
            const std::size_t end = std::min(run.out.find('\n', at), run.out.size());
            const std::string line = run.out.substr(at, end - at);
            ASSERT_TRUE(line == spanAnswer || line == outOfMemory)
                << "answer " << answers << ": " << line;
            at = end + 1;
        }
        if (run.Exited(0)) {
            EXPECT_EQ(answers, static_cast<std::size_t>(kLines));
            EXPECT_EQ(run.err, "");
        } else {
            EXPECT_TRUE(run.Exited(1)) << run.status;
            EXPECT_EQ(run.err, "vesk310-calc: out of memory\n");
            EXPECT_TRUE(run.out.empty() || run.out.back() == '\n');
        }
    }
}

}  // namespace

#endif
