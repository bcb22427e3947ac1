// The batch mode's stream: lines read in large blocks and split in place,
// answered on this thread or, for large input, in chunks on a small pool of
// threads, and written in input order as whole lines.

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <csignal>
#include <cstring>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "cli/Batch.h"
#include "textconv/Failures.h"

#if defined(_WIN32)
#include <io.h>
#else
#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <unistd.h>
#endif

namespace vesk::cli {
namespace {

constexpr std::size_t kMinRead = 64u << 10;     // the least room a read is given
constexpr std::size_t kFlushBytes = 256u << 10;  // answers kept before a write

static_assert(kMaxBatchLine == 16777216, "the message below says so");
constexpr const char* kOverlongAnswer =
    "{\"ok\": false, \"error\": \"usage\", \"message\": \"the line is longer than 16777216 bytes\"}\n";

// ---------------------------------------------------------------------------
// Stop signals: SIGTERM, SIGINT and SIGHUP set a flag and wake the reader;
// the run stops at the next line boundary.

std::atomic<int> g_stopSignal{0};

int StopSignal() { return g_stopSignal.load(std::memory_order_relaxed); }

#if !defined(_WIN32)
static_assert(std::atomic<int>::is_always_lock_free, "the signal handler sets the flag");

int g_wakeWrite = -1;  // the write end of the pipe that wakes a waiting poll

extern "C" void OnStopSignal(int signal) {
    const int saved = errno;
    g_stopSignal.store(signal, std::memory_order_relaxed);
    if (g_wakeWrite >= 0) {
        [[maybe_unused]] const auto written = ::write(g_wakeWrite, "", 1);
    }
    errno = saved;
}

constexpr int kStopSignals[] = {SIGTERM, SIGINT, SIGHUP};

// Installs the handlers for the run and puts the previous ones back after
// it. A signal that was ignored when the run began stays ignored (nohup).
class StopSignals {
public:
    StopSignals() {
        g_stopSignal.store(0);
        int fds[2];
        if (::pipe(fds) == 0) {
            // Above the standard streams, even when one of them is closed.
            for (int& fd : fds) {
                const int moved = ::fcntl(fd, F_DUPFD_CLOEXEC, 3);
                ::close(fd);
                fd = moved;
                ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
            }
            if (fds[0] >= 0 && fds[1] >= 0) {
                wakeRead_ = fds[0];
                g_wakeWrite = fds[1];
            }
        }
        struct sigaction action {};
        action.sa_handler = OnStopSignal;  // no SA_RESTART: a blocking read returns
        sigemptyset(&action.sa_mask);
        for (std::size_t i = 0; i < std::size(kStopSignals); ++i) {
            ::sigaction(kStopSignals[i], nullptr, &saved_[i]);
            if (saved_[i].sa_handler != SIG_IGN) ::sigaction(kStopSignals[i], &action, nullptr);
        }
    }
    ~StopSignals() {
        for (std::size_t i = 0; i < std::size(kStopSignals); ++i) ::sigaction(kStopSignals[i], &saved_[i], nullptr);
        if (wakeRead_ >= 0) {
            ::close(wakeRead_);
            ::close(g_wakeWrite);
            g_wakeWrite = -1;
        }
    }
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    int WakeFd() const { return wakeRead_; }

private:
    int wakeRead_ = -1;
    struct sigaction saved_[std::size(kStopSignals)] {};
};

// Threads started inside keep the stop signals blocked, so that they reach
// the thread that reads and writes and interrupt its waits.
class SignalsBlocked {
public:
    SignalsBlocked() {
        sigset_t set;
        sigemptyset(&set);
        for (const int signal : kStopSignals) sigaddset(&set, signal);
        pthread_sigmask(SIG_BLOCK, &set, &saved_);
    }
    ~SignalsBlocked() { pthread_sigmask(SIG_SETMASK, &saved_, nullptr); }
    SignalsBlocked(const SignalsBlocked&) = delete;
    SignalsBlocked& operator=(const SignalsBlocked&) = delete;

private:
    sigset_t saved_;
};
#else
// Windows: a console's Ctrl+C ends the process as it always has.
class StopSignals {
public:
    StopSignals() { g_stopSignal.store(0); }
    int WakeFd() const { return -1; }
};
class SignalsBlocked {};
#endif

// ---------------------------------------------------------------------------
// Reading and writing file descriptors, every error checked.

void Report(std::FILE* err, const char* what, int error) {
    std::fprintf(err, "vesk310-calc: %s error: %s\n", what, std::strerror(error));
    std::fflush(err);
}

enum class Wait { kReady, kStopped };

#if !defined(_WIN32)
// Waits until `fd` is ready for `events` or a stop signal arrives.
Wait WaitFor(int fd, short events, int wakeFd) {
    for (;;) {
        if (StopSignal() != 0) return Wait::kStopped;
        pollfd fds[2] = {{fd, events, 0}, {wakeFd, POLLIN, 0}};
        const int count = ::poll(fds, wakeFd >= 0 ? 2 : 1, -1);
        if (count < 0 && errno != EINTR) return Wait::kReady;  // the read or write tells what is wrong
        if (StopSignal() != 0) return Wait::kStopped;
        if (count > 0) return Wait::kReady;
    }
}

// True when a read of `fd` would not block: data, end of input or an error.
bool InputWaiting(int fd) {
    pollfd check = {fd, POLLIN, 0};
    return ::poll(&check, 1, 0) != 0;
}
#endif

class Output {
public:
    Output(int fd, std::FILE* err, int wakeFd) : fd_(fd), err_(err), wakeFd_(wakeFd) {}

    // Writes all of `data`. False after a write error, which is reported.
    // A stop signal does not cut a write short.
    bool Write(const char* data, std::size_t size) {
        while (size > 0) {
#if defined(_WIN32)
            const int written = ::_write(fd_, data, static_cast<unsigned>(std::min<std::size_t>(size, 1u << 30)));
#else
            const ssize_t written = ::write(fd_, data, size);
#endif
            if (written < 0) {
                if (errno == EINTR) continue;
#if !defined(_WIN32)
                if (errno == EAGAIN || errno == EWOULDBLOCK) {
                    pollfd ready = {fd_, POLLOUT, 0};
                    ::poll(&ready, 1, -1);
                    continue;
                }
#endif
                Report(err_, "write", errno);
                return false;
            }
            data += written;
            size -= static_cast<std::size_t>(written);
        }
        return true;
    }
    bool Write(std::string& text) {
        const bool written = Write(text.data(), text.size());
        text.clear();
        return written;
    }

private:
    int fd_;
    std::FILE* err_;
    [[maybe_unused]] int wakeFd_;
};

// ---------------------------------------------------------------------------
// Chunks of whole lines and the threads that answer them.

struct Chunk {
    std::vector<char> input;  // [0, lineEnd) whole lines, then the start of the next
    std::size_t used = 0;     // bytes of input read
    std::size_t lineEnd = 0;  // one past the last line break
    std::string output;
    bool done = false;      // under the pool's mutex
    bool complete = false;  // every line answered (false when a stop cut it short)
};

// Answers the whole lines of a chunk. False when a stop cut it short.
bool AnswerLines(const char* data, std::size_t size, std::string& out, const std::atomic<bool>& abandon) {
    const char* p = data;
    const char* end = data + size;
    while (p < end) {
        if (StopSignal() != 0 || abandon.load(std::memory_order_relaxed)) return false;
        const char* newline = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
        const std::string_view line(p, static_cast<std::size_t>(newline - p));
        if (line.size() > kMaxBatchLine) {
            out += kOverlongAnswer;
        } else {
            AppendBatchAnswer(line, out);
        }
        p = newline + 1;
    }
    return true;
}

class Pool {
public:
    // Raises std::system_error or std::bad_alloc when a thread cannot be
    // started; the threads started by then are stopped first.
    explicit Pool(unsigned threads) {
        const SignalsBlocked blocked;
        try {
            for (unsigned i = 0; i < threads; ++i) threads_.emplace_back([this] { Work(); });
        } catch (...) {
            Close();
            throw;
        }
    }
    ~Pool() { Close(); }
    Pool(const Pool&) = delete;
    Pool& operator=(const Pool&) = delete;

    void Submit(Chunk* chunk) {
        {
            const std::lock_guard lock(mutex_);
            chunk->done = false;
            queue_.push_back(chunk);
        }
        work_.notify_one();
    }
    bool Done(Chunk* chunk) {
        const std::lock_guard lock(mutex_);
        return chunk->done;
    }
    void WaitDone(Chunk* chunk) {
        std::unique_lock lock(mutex_);
        finished_.wait(lock, [chunk] { return chunk->done; });
    }
    // Makes the threads drop their work at the next line (a write error).
    void Abandon() { abandon_.store(true); }

private:
    void Close() {
        {
            const std::lock_guard lock(mutex_);
            closing_ = true;
        }
        work_.notify_all();
        for (std::thread& thread : threads_) thread.join();
        threads_.clear();
    }

    void Work() {
        for (;;) {
            Chunk* chunk = nullptr;
            {
                std::unique_lock lock(mutex_);
                work_.wait(lock, [this] { return closing_ || !queue_.empty(); });
                if (queue_.empty()) return;
                chunk = queue_.front();
                queue_.pop_front();
            }
            chunk->output.clear();
            chunk->complete = AnswerLines(chunk->input.data(), chunk->lineEnd, chunk->output, abandon_);
            {
                const std::lock_guard lock(mutex_);
                chunk->done = true;
            }
            finished_.notify_all();
        }
    }

    std::vector<std::thread> threads_;
    std::mutex mutex_;
    std::condition_variable work_, finished_;
    std::deque<Chunk*> queue_;
    bool closing_ = false;
    std::atomic<bool> abandon_{false};
};

// ---------------------------------------------------------------------------
// The run.

enum class Read { kData, kEnd, kStopped, kError };

class Batch {
public:
    Batch(int input, int output, std::FILE* err, const BatchOptions& options, int wakeFd)
        : input_(input), out_(output, err, wakeFd), err_(err), wakeFd_(wakeFd), options_(options) {
        threads_ = options.threads != 0 ? options.threads : std::thread::hardware_concurrency();
        if (threads_ > 8) threads_ = 8;
        if (threads_ < 2) threads_ = 0;  // one processor: no pool
        filling_ = NewChunk();
    }

    int Run() {
        for (;;) {
            if (!MakeRoom()) return Finish(1);
#if !defined(_WIN32)
            if (!InputWaiting(input_)) {
                // Nothing waiting: what is complete is answered and written now,
                // for the tool that sends a line and waits for its answer.
                if (!AnswerHere()) return Finish(1);
                if (!Flush()) return Finish(1);
                if (WaitFor(input_, POLLIN, wakeFd_) == Wait::kStopped) return Finish(1);
            }
#else
            // No poll for every kind of input here: a read that came back short
            // means the writer has nothing more for now.
            if (!lastReadFull_ && (!AnswerHere() || !Flush())) return Finish(1);
#endif
            const Read read = ReadMore();
            if (read == Read::kStopped) return Finish(1);
            if (read == Read::kError) {
                const int error = errno;
                // The lines read whole before the error are answered.
                if (!AnswerHere() || !Flush()) return Finish(1);
                if (StopSignal() != 0) return Finish(1);
                Report(err_, "read", error);
                return Finish(1);
            }
            if (read == Read::kEnd) {
                if (!AnswerHere()) return Finish(1);
                Chunk& c = *filling_;
                if (skipping_ || c.used > 0) {  // a last line without its line break
                    if (StopSignal() != 0) return Finish(1);
                    AnswerLast(std::string_view(c.input.data(), c.used));
                }
                return Finish(Flush() ? 0 : 1);
            }
            if (!Dispatch()) return Finish(1);
        }
    }

private:
    std::unique_ptr<Chunk> NewChunk() {
        std::unique_ptr<Chunk> chunk;
        if (!spare_.empty()) {
            chunk = std::move(spare_.back());
            spare_.pop_back();
        } else {
            chunk = std::make_unique<Chunk>();
        }
        const std::size_t size = options_.chunkBytes + kMinRead;
        if (chunk->input.size() < size || chunk->input.size() > 4 * size) {
            std::vector<char>().swap(chunk->input);  // a huge line's buffer is not kept
            chunk->input.resize(size);
        }
        chunk->used = chunk->lineEnd = 0;
        return chunk;
    }

    void Recycle(std::unique_ptr<Chunk> chunk) {
        if (chunk->output.capacity() > 4 * (options_.chunkBytes + kMinRead)) std::string().swap(chunk->output);
        spare_.push_back(std::move(chunk));
    }

    // The exit code once everything answered is written: a stop signal's
    // code wins over `code` unless a write failed.
    int Finish(int code) {
        if (writeFailed_) return 1;
        if (StopSignal() != 0) {
            // Lines answered by the pool before the stop, in order.
            if (!WriteFinished(0) || !Flush()) return 1;
            return 128 + StopSignal();
        }
        return code;
    }

    // Room for the next read; a partial line beyond kMaxBatchLine is dropped
    // and the line answered when its end comes.
    bool MakeRoom() {
        Chunk& c = *filling_;
        if (c.used - c.lineEnd > kMaxBatchLine) {
            if (!AnswerHere()) return false;  // the lines before it come first
            c.used = 0;
            skipping_ = true;
        }
        if (c.input.size() - c.used < kMinRead && c.lineEnd > 0 && !AnswerHere()) return false;
        if (c.input.size() - c.used < kMinRead) {
            // A long line: the buffer grows to hold it, up to the longest line.
            try {
                c.input.resize(std::min(std::max(c.input.size() * 2, c.used + kMinRead), kMaxBatchLine + 2 * kMinRead));
            } catch (const std::bad_alloc&) {
                // No memory to hold the line: it is answered as a memory
                // failure when its end comes, after the lines before it.
                if (!AnswerHere()) return false;
                c.used = 0;
                skipping_ = true;
                skippedForMemory_ = true;
            }
        }
        return true;
    }

    Read ReadMore() {
        Chunk& c = *filling_;
        for (;;) {
            const std::size_t room = c.input.size() - c.used;
#if defined(_WIN32)
            const int got = ::_read(input_, c.input.data() + c.used, static_cast<unsigned>(std::min<std::size_t>(room, 1u << 30)));
#else
            const ssize_t got = ::read(input_, c.input.data() + c.used, room);
#endif
            if (got > 0) {
                lastReadFull_ = static_cast<std::size_t>(got) == room;
                const std::size_t from = c.used;
                c.used += static_cast<std::size_t>(got);
                NewData(from);
                return Read::kData;
            }
            if (got == 0) return Read::kEnd;
            if (errno == EINTR) {
                if (StopSignal() != 0) return Read::kStopped;
                continue;
            }
#if !defined(_WIN32)
            if (errno == EAGAIN || errno == EWOULDBLOCK) {
                // A non-blocking input: wait for it, flushing first.
                if (!AnswerHere() || !Flush()) return Read::kStopped;
                if (WaitFor(input_, POLLIN, wakeFd_) == Wait::kStopped) return Read::kStopped;
                continue;
            }
#endif
            return Read::kError;
        }
    }

    // Finds the line ends among the bytes read from `from` on.
    void NewData(std::size_t from) {
        Chunk& c = *filling_;
        if (skipping_) {
            const void* newline = std::memchr(c.input.data() + from, '\n', c.used - from);
            if (newline == nullptr) {
                c.used = 0;  // still inside the overlong line
                return;
            }
            const std::size_t rest = static_cast<std::size_t>(static_cast<const char*>(newline) - c.input.data()) + 1;
            AnswerLast({});
            skipping_ = false;
            std::memmove(c.input.data(), c.input.data() + rest, c.used - rest);
            c.used -= rest;
            from = 0;
        }
        const char* begin = c.input.data() + std::max(from, c.lineEnd);
        for (const char* p = c.input.data() + c.used; p > begin; --p) {
            if (p[-1] == '\n') {
                c.lineEnd = static_cast<std::size_t>(p - c.input.data());
                break;
            }
        }
    }

    // Hands a full chunk of lines to the pool, or answers it here.
    bool Dispatch() {
        Chunk& c = *filling_;
        if (c.lineEnd < options_.chunkBytes) return true;
        if (threads_ == 0) {
            if (!AnswerHere()) return false;
            return pending_.size() < kFlushBytes || Flush();
        }
        std::unique_ptr<Chunk> next;
        const std::size_t tail = c.used - c.lineEnd;
        try {
            if (!pool_) pool_ = std::make_unique<Pool>(threads_);
            next = NewChunk();
            if (next->input.size() < tail + kMinRead) next->input.resize(tail + kMinRead);
        } catch (const std::exception&) {
            // No threads or no memory for another chunk: this thread answers.
            if (next) Recycle(std::move(next));
            if (!pool_) threads_ = 0;
            return AnswerHere() && (pending_.size() < kFlushBytes || Flush());
        }
        std::memcpy(next->input.data(), c.input.data() + c.lineEnd, tail);
        next->used = tail;
        pool_->Submit(filling_.get());
        inFlight_.push_back(std::move(filling_));
        filling_ = std::move(next);
        // Two chunks waiting for each thread: a thread that finishes one has
        // the next at hand while this thread waits its turn for a processor.
        return WriteFinished(2 * std::size_t{threads_});
    }

    // Writes the pool's answers in order: those done, and then, waiting for
    // them, all but the last `keep` chunks in flight.
    bool WriteFinished(std::size_t keep) {
        while (!inFlight_.empty()) {
            Chunk* head = inFlight_.front().get();
            if (!pool_->Done(head)) {
                if (inFlight_.size() <= keep) return true;
                pool_->WaitDone(head);
            }
            if (!Flush() || !Write(head->output)) {
                pool_->Abandon();
                for (auto& chunk : inFlight_) pool_->WaitDone(chunk.get());
                inFlight_.clear();
                return false;
            }
            if (!head->complete) {
                // A stop cut this chunk short: what follows cannot be written
                // in order.
                for (auto& chunk : inFlight_) pool_->WaitDone(chunk.get());
                inFlight_.clear();
                return true;
            }
            Recycle(std::move(inFlight_.front()));
            inFlight_.pop_front();
        }
        return true;
    }

    // Answers the whole lines of the chunk being filled on this thread, after
    // everything given to the pool. False after a write error or a stop.
    bool AnswerHere() {
        if (!WriteFinished(0)) return false;
        if (StopSignal() != 0) return false;
        Chunk& c = *filling_;
        if (c.lineEnd == 0) return true;
        static const std::atomic<bool> kNever{false};
        if (!AnswerLines(c.input.data(), c.lineEnd, pending_, kNever)) return false;
        std::memmove(c.input.data(), c.input.data() + c.lineEnd, c.used - c.lineEnd);
        c.used -= c.lineEnd;
        c.lineEnd = 0;
        const std::size_t normal = options_.chunkBytes + kMinRead;
        if (c.input.size() > 4 * normal && c.used < options_.chunkBytes) {
            // After a huge line the buffer goes back to its normal size.
            std::vector<char> smaller(normal);
            std::memcpy(smaller.data(), c.input.data(), c.used);
            c.input.swap(smaller);
        }
        if (pending_.capacity() > 4 * kFlushBytes && pending_.size() < kFlushBytes) {
            std::string(pending_).swap(pending_);
        }
        return true;
    }

    // The last line, or an overlong one (empty view).
    void AnswerLast(std::string_view line) {
        if (skipping_) {
            pending_ += skippedForMemory_ ? outOfMemoryAnswer_ : kOverlongAnswer;
            skippedForMemory_ = false;
            return;
        }
        AppendBatchAnswer(line, pending_);
    }

    bool Write(std::string& text) {
        if (!out_.Write(text)) {
            writeFailed_ = true;
            return false;
        }
        return true;
    }
    bool Flush() { return writeFailed_ ? false : Write(pending_); }

    int input_;
    Output out_;
    std::FILE* err_;
    int wakeFd_;
    BatchOptions options_;
    unsigned threads_ = 0;
    std::unique_ptr<Chunk> filling_;
    std::deque<std::unique_ptr<Chunk>> inFlight_;
    std::vector<std::unique_ptr<Chunk>> spare_;
    std::unique_ptr<Pool> pool_;
    std::string pending_;  // answers of this thread not yet written
    bool skipping_ = false;  // inside a line longer than kMaxBatchLine, or too long for the memory
    bool skippedForMemory_ = false;
    [[maybe_unused]] bool lastReadFull_ = false;  // the last read filled all the room it had
    // The answer for a line that memory could not hold, made while there is memory.
    const std::string outOfMemoryAnswer_ = std::string("{\"ok\": false, \"error\": \"") +
                                           OutOfMemoryFailure().ClassName() + "\", \"message\": \"" +
                                           OutOfMemoryFailure().Message() + "\"}\n";
    bool writeFailed_ = false;
};

}  // namespace

int RunBatch(int input, int output, std::FILE* err, const BatchOptions& options) {
    const StopSignals signals;
    try {
        Batch batch(input, output, err, options, signals.WakeFd());
        return batch.Run();
    } catch (const std::bad_alloc&) {
        // Only the stream's own buffers get here (each line's answer catches
        // its own): nothing more can be read.
        Report(err, "read", ENOMEM);
        return 1;
    }
}

}  // namespace vesk::cli
