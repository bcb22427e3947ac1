// The batch mode's stream: lines read in large blocks and split in place,
// answered on this thread or, for large input, in chunks on a small pool of
// threads, and written in input order as whole lines. The chunks share one
// memory budget; a line longer than a chunk is read into a buffer of its own
// and answered on this thread, with nothing in flight beside it, so that a
// huge line is held once, whatever the number of threads.

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <memory>
#include <mutex>
#include <new>
#include <string>
#include <thread>
#include <vector>

#include "cli/Batch.h"
#include "cli/Processors.h"
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

constexpr std::size_t kFlushBytes = 256u << 10;  // answers kept before a write
constexpr unsigned kAutoThreads = 8;             // the most threads started unasked
// The smallest chunk given to a thread; the budget starts no more threads than
// can each have two of them.
constexpr std::size_t kMinChunk = 16u << 10;
// Answer bytes for each input byte, as the budget expects them until the
// answers written tell (span answers take about 2, calendars 4).
constexpr std::size_t kAnswerRatio = 3;
// Free room an output is given before each line: more than the memory
// failure's answer (without the id, where the id does not fit) and the answer
// to an overlong line take, so that neither needs memory.
constexpr std::size_t kRoomForAnswer = 2 * kAnswerRoom;  // what AppendBatchAnswer needs, and some

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
// Buffers, chunks of whole lines and the threads that answer them.

// Bytes that grow where they lie when the system can (a large block is
// remapped, not copied, so a huge line never needs twice its size) and that
// are not written when they are made, so that room a read does not fill takes
// no memory. Never raises.
class Bytes {
public:
    Bytes() = default;
    ~Bytes() { std::free(data_); }
    Bytes(const Bytes&) = delete;
    Bytes& operator=(const Bytes&) = delete;

    char* data() { return data_; }
    std::size_t size() const { return size_; }
    // False, with the bytes as they were, when there is no memory for `size`.
    bool Resize(std::size_t size) {
        if (size == size_) return true;
        if (size == 0) {
            std::free(data_);
            data_ = nullptr;
            size_ = 0;
            return true;
        }
        void* moved = std::realloc(data_, size);
        if (moved == nullptr) return false;
        data_ = static_cast<char*>(moved);
        size_ = size;
        return true;
    }

private:
    char* data_ = nullptr;
    std::size_t size_ = 0;
};

// What answering a line needs beyond the line, the same for the whole run.
struct Answering {
    std::size_t maxLine;
    std::string overlong;  // the answer to a line longer than maxLine
};

enum class Cut { kNone, kStop, kMemory, kFull };

// Gives `out` room for the next answer (kRoomForAnswer free bytes); false when
// there is no memory for it.
bool RoomForAnswer(std::string& out) {
    if (out.capacity() - out.size() >= kRoomForAnswer) return true;
    try {
        out.reserve(out.size() + kRoomForAnswer);  // the string doubles its capacity
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

// Answers the whole lines of [data, data + size) into `out`, in order, until a
// stop signal or `abandon` (kStop), until `out` holds `full` bytes (kFull) or
// until it cannot get room for another answer (kMemory). Returns the bytes of
// the lines answered.
std::size_t AnswerLines(const char* data, std::size_t size, std::string& out, std::size_t full,
                        const Answering& answering, const std::atomic<bool>& abandon, Cut& cut) {
    cut = Cut::kNone;
    const char* p = data;
    const char* end = data + size;
    while (p < end) {
        if (StopSignal() != 0 || abandon.load(std::memory_order_relaxed)) {
            cut = Cut::kStop;
            break;
        }
        if (out.size() >= full) {
            cut = Cut::kFull;
            break;
        }
        if (!RoomForAnswer(out)) {
            cut = Cut::kMemory;
            break;
        }
        const char* newline = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
        const std::string_view line(p, static_cast<std::size_t>(newline - p));
        if (line.size() > answering.maxLine) {
            out += answering.overlong;  // within the room made above
        } else {
            AppendBatchAnswer(line, out);
        }
        p = newline + 1;
    }
    return static_cast<std::size_t>(p - data);
}

struct Chunk {
    Bytes input;              // [0, lineEnd) whole lines, then the start of the next
    std::size_t used = 0;     // bytes of input read
    std::size_t lineEnd = 0;  // one past the last line break
    std::string output;       // the answers of the lines before `answered`
    std::size_t answered = 0;
    std::size_t expected = 0;  // the answer bytes the budget reckons with
    Cut cut = Cut::kNone;      // why the answering stopped before lineEnd
    bool done = false;         // under the pool's mutex
    Chunk* next = nullptr;     // the pool's queue
};

class Pool {
public:
    // Starts up to `threads` threads, as many as the system gives (Size()).
    // Raises std::bad_alloc when there is no memory to keep them.
    Pool(unsigned threads, const Answering& answering) : answering_(answering) {
        threads_.reserve(threads);
        [[maybe_unused]] const SignalsBlocked blocked;  // nothing to block on Windows
        for (unsigned i = 0; i < threads; ++i) {
            try {
                threads_.emplace_back([this] { Work(); });
            } catch (const std::exception&) {
                break;  // no more threads: those started answer
            }
        }
    }
    ~Pool() {
        {
            const std::lock_guard lock(mutex_);
            closing_ = true;
        }
        work_.notify_all();
        for (std::thread& thread : threads_) thread.join();
    }
    Pool(const Pool&) = delete;
    Pool& operator=(const Pool&) = delete;

    std::size_t Size() const { return threads_.size(); }

    void Submit(Chunk* chunk) {
        {
            const std::lock_guard lock(mutex_);
            chunk->done = false;
            chunk->next = nullptr;
            (last_ != nullptr ? last_->next : first_) = chunk;
            last_ = chunk;
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
    void Work() {
        for (;;) {
            Chunk* chunk = nullptr;
            {
                std::unique_lock lock(mutex_);
                work_.wait(lock, [this] { return closing_ || first_ != nullptr; });
                if (first_ == nullptr) return;
                chunk = first_;
                first_ = chunk->next;
                if (first_ == nullptr) last_ = nullptr;
            }
            chunk->output.clear();
            if (chunk->output.capacity() < chunk->expected) {
                try {
                    chunk->output.reserve(chunk->expected);
                } catch (const std::exception&) {
                    // Room is asked for line by line below.
                }
            }
            chunk->answered = AnswerLines(chunk->input.data(), chunk->lineEnd, chunk->output,
                                          SIZE_MAX, answering_, abandon_, chunk->cut);
            {
                const std::lock_guard lock(mutex_);
                chunk->done = true;
            }
            finished_.notify_all();
        }
    }

    const Answering& answering_;
    std::vector<std::thread> threads_;
    std::mutex mutex_;
    std::condition_variable work_, finished_;
    Chunk* first_ = nullptr;  // the queue, linked through Chunk::next: it never needs memory
    Chunk* last_ = nullptr;
    bool closing_ = false;
    std::atomic<bool> abandon_{false};
};

// ---------------------------------------------------------------------------
// The run.

enum class Read { kData, kEnd, kStopped, kError };

const std::atomic<bool> kNeverAbandoned{false};

class Batch {
public:
    // Raises std::bad_alloc when there is not memory enough to read with.
    Batch(int input, int output, std::FILE* err, const BatchOptions& options, int wakeFd)
        : input_(input), out_(output, err, wakeFd), err_(err), wakeFd_(wakeFd), options_(options) {
        answering_.maxLine = options.maxLine;
        answering_.overlong =
            "{\"ok\": false, \"error\": \"usage\", \"message\": \"the line is longer than " +
            std::to_string(options.maxLine) + " bytes\"}\n";
        outOfMemoryAnswer_ = std::string("{\"ok\": false, \"error\": \"") +
                             OutOfMemoryFailure().ClassName() + "\", \"message\": \"" +
                             OutOfMemoryFailure().Message() + "\"}\n";
        chunkBytes_ = std::max<std::size_t>(options.chunkBytes, 16);
        unsigned threads =
            options.threads != 0 ? options.threads : std::min(UsableProcessors(), kAutoThreads);
        // Each thread is worth two chunks of at least kMinChunk and their answers.
        const std::size_t affordable = options.memoryBudget / (2 * kMinChunk * (1 + kAnswerRatio));
        threads = static_cast<unsigned>(
            std::min<std::size_t>(threads, std::max<std::size_t>(affordable, 2)));
        threads_ = threads < 2 ? 0 : threads;  // one: no pool
        // A buffer holds a chunk of lines and half as much again to read into.
        const std::size_t buffer = chunkBytes_ + chunkBytes_ / 2;
        if (threads_ == 0) {
            UseSizes(buffer);
        } else {
            // The chunks in flight (two for each thread), the one being
            // filled and the one that takes its place share the budget.
            share_ = options.memoryBudget / (2 * std::size_t{threads_} + 2);
            UseSizes(std::clamp(share_ / (1 + kAnswerRatio), std::min(kMinChunk, buffer), buffer));
        }
        // The output buffer keeps room for an answer from here on, so that
        // this thread can always answer a line, if only with the memory failure.
        try {
            pending_.reserve(kFlushBytes + kRoomForAnswer);
        } catch (const std::bad_alloc&) {
            pending_.reserve(kRoomForAnswer);
        }
        filling_ = std::make_unique<Chunk>();
        // Short of memory, a smaller buffer still answers ordinary lines.
        for (std::size_t size = normal_; !filling_->input.Resize(size); size /= 2) {
            if (size / 2 < 4 * kRoomForAnswer) throw std::bad_alloc();
            threads_ = 0;
            UseSizes(size / 2);
        }
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
                    if (!AnswerLast(std::string_view(c.input.data(), c.used))) return Finish(1);
                }
                return Finish(Flush() ? 0 : 1);
            }
            if (!Dispatch()) return Finish(1);
        }
    }

private:
    // A normal buffer of `size` bytes, read into while a third of it is free.
    void UseSizes(std::size_t size) {
        normal_ = size;
        minRoom_ = size / 3;
        fillLimit_ = size;
        threshold_ = std::min(chunkBytes_, size - minRoom_);
    }

    // Free bytes for the next read. A normal buffer is filled up to the limit
    // that the budget sets from the answers seen so far; a long line's buffer
    // is filled to its end.
    std::size_t Room() const {
        const Chunk& c = *filling_;
        const std::size_t end =
            c.input.size() > normal_ ? c.input.size() : std::min(c.input.size(), fillLimit_);
        return end > c.used ? end - c.used : 0;
    }

    // A chunk with a buffer of the normal size, or nothing without memory for it.
    std::unique_ptr<Chunk> NewChunk() {
        std::unique_ptr<Chunk> chunk;
        if (!spare_.empty()) {
            chunk = std::move(spare_.back());
            spare_.pop_back();
        } else {
            try {
                chunk = std::make_unique<Chunk>();
            } catch (const std::bad_alloc&) {
                return nullptr;
            }
        }
        if (!chunk->input.Resize(normal_)) {
            Recycle(std::move(chunk));
            return nullptr;
        }
        chunk->used = chunk->lineEnd = chunk->answered = 0;
        chunk->cut = Cut::kNone;
        return chunk;
    }

    // Keeps a chunk for the next, within the room that spare_ was given.
    void Recycle(std::unique_ptr<Chunk> chunk) {
        if (spare_.size() == spare_.capacity()) return;  // freed
        if (chunk->output.capacity() > 2 * (chunk->expected + kRoomForAnswer)) {
            std::string().swap(chunk->output);
        }
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

    // Room for the next read. A line longer than a chunk gets a buffer of its
    // own, once every chunk in flight is written; a partial line beyond
    // maxLine is dropped and the line answered when its end comes.
    bool MakeRoom() {
        Chunk& c = *filling_;
        if (c.used - c.lineEnd > options_.maxLine) {
            if (!AnswerHere()) return false;  // the lines before it come first
            c.used = 0;
            skipping_ = true;
        }
        if (Room() >= minRoom_) return true;
        if (!AnswerHere()) return false;  // the whole lines, and all in flight
        if (Room() >= minRoom_) return true;
        const std::size_t longest = options_.maxLine + 2 * minRoom_;
        const std::size_t size = std::min(std::max(c.input.size() * 2, c.used + minRoom_), longest);
        if (!c.input.Resize(size) && (spare_.clear(), !c.input.Resize(size))) {
            // No memory to hold the line: it is answered as a memory failure
            // when its end comes.
            c.used = 0;
            skipping_ = true;
            skippedForMemory_ = true;
        }
        return true;
    }

    Read ReadMore() {
        Chunk& c = *filling_;
        for (;;) {
            const std::size_t room = Room();
#if defined(_WIN32)
            const int got = ::_read(input_, c.input.data() + c.used, static_cast<unsigned>(std::min<std::size_t>(room, 1u << 30)));
#else
            const ssize_t got = ::read(input_, c.input.data() + c.used, room);
#endif
            if (got > 0) {
                lastReadFull_ = static_cast<std::size_t>(got) == room;
                const std::size_t from = c.used;
                c.used += static_cast<std::size_t>(got);
                if (!NewData(from)) return Read::kStopped;
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

    // Finds the line ends among the bytes read from `from` on. False after a
    // write error or a stop.
    bool NewData(std::size_t from) {
        Chunk& c = *filling_;
        if (skipping_) {
            const void* newline = std::memchr(c.input.data() + from, '\n', c.used - from);
            if (newline == nullptr) {
                c.used = 0;  // still inside the overlong line
                return true;
            }
            const std::size_t rest = static_cast<std::size_t>(static_cast<const char*>(newline) - c.input.data()) + 1;
            if (!AnswerLast({})) return false;
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
        return true;
    }

    // Hands a full chunk of lines to the pool, or answers it here: on one
    // thread, and for a chunk that holds a long line.
    bool Dispatch() {
        Chunk& c = *filling_;
        if (c.lineEnd == 0 || (c.lineEnd < threshold_ && Room() >= minRoom_)) return true;
        if (threads_ == 0 || c.input.size() > normal_ || (!pool_ && !StartPool())) return AnswerChunkHere();
        std::unique_ptr<Chunk> next = NewChunk();
        const std::size_t tail = c.used - c.lineEnd;
        if (!next || next->input.size() < tail + minRoom_) {
            // No memory for another chunk: this thread answers.
            if (next) Recycle(std::move(next));
            return AnswerChunkHere();
        }
        std::memcpy(next->input.data(), c.input.data() + c.lineEnd, tail);
        next->used = tail;
        c.expected = c.lineEnd * ratio_ + kRoomForAnswer;
        std::unique_ptr<Chunk>& slot = inFlight_[(firstInFlight_ + inFlightCount_) % inFlight_.size()];
        slot = std::move(filling_);
        ++inFlightCount_;
        pool_->Submit(slot.get());
        filling_ = std::move(next);
        // Two chunks waiting for each thread: a thread that finishes one has
        // the next at hand while this thread waits its turn for a processor.
        return WriteFinished(inFlight_.size() - 1);
    }

    // Answers the chunk being filled here, writing once enough is waiting.
    bool AnswerChunkHere() { return AnswerHere() && (pending_.size() < kFlushBytes || Flush()); }

    // Starts the threads, with the room their chunks need, once. False when
    // none can be had: this thread answers every line from here on.
    bool StartPool() {
        try {
            inFlight_.resize(2 * std::size_t{threads_} + 1);
            spare_.reserve(inFlight_.size() + 1);
            pool_ = std::make_unique<Pool>(threads_, answering_);
        } catch (const std::exception&) {
        }
        if (!pool_ || pool_->Size() == 0) {
            pool_.reset();
            threads_ = 0;
            return false;
        }
        return true;
    }

    // Writes the pool's answers in order: those done, and then, waiting for
    // them, all but the last `keep` chunks in flight. A chunk that the
    // thread's output could not hold is finished here.
    bool WriteFinished(std::size_t keep) {
        while (inFlightCount_ > 0) {
            std::unique_ptr<Chunk>& slot = inFlight_[firstInFlight_];
            Chunk* head = slot.get();
            if (!pool_->Done(head)) {
                if (inFlightCount_ <= keep) return true;
                pool_->WaitDone(head);
            }
            LearnRatio(*head);
            if (!Flush() || !Write(head->output)) {
                pool_->Abandon();
                DropInFlight();
                return false;
            }
            if (head->cut == Cut::kStop) {
                // A stop cut this chunk short: what follows cannot be written
                // in order.
                DropInFlight();
                return true;
            }
            if (head->cut == Cut::kMemory &&
                !AnswerHere(head->input.data() + head->answered, head->lineEnd - head->answered)) {
                DropInFlight();
                return false;
            }
            std::unique_ptr<Chunk> written = std::move(slot);
            firstInFlight_ = (firstInFlight_ + 1) % inFlight_.size();
            --inFlightCount_;
            Recycle(std::move(written));
        }
        return true;
    }

    // Waits for every chunk in flight and forgets their answers.
    void DropInFlight() {
        for (; inFlightCount_ > 0; --inFlightCount_) {
            pool_->WaitDone(inFlight_[firstInFlight_].get());
            inFlight_[firstInFlight_].reset();
            firstInFlight_ = (firstInFlight_ + 1) % inFlight_.size();
        }
    }

    // The answers of a written chunk tell how many bytes of answers a byte of
    // input takes; the chunks after it are filled so that theirs fit the budget.
    void LearnRatio(const Chunk& chunk) {
        if (chunk.answered == 0) return;
        ratio_ =
            std::max<std::size_t>((chunk.output.size() + chunk.answered - 1) / chunk.answered, 1);
        fillLimit_ = std::clamp(share_ / (1 + ratio_), 2 * minRoom_, normal_);
    }

    // Answers lines on this thread into pending_, writing it out whenever it
    // holds kFlushBytes or cannot grow. False after a write error or a stop.
    bool AnswerHere(const char* data, std::size_t size) {
        for (;;) {
            Cut cut;
            const std::size_t answered =
                AnswerLines(data, size, pending_, kFlushBytes, answering_, kNeverAbandoned, cut);
            data += answered;
            size -= answered;
            if (cut == Cut::kNone) return true;
            if (cut == Cut::kStop) return false;
            // Written out, the buffer has its room again (it keeps kRoomForAnswer).
            if (cut == Cut::kMemory && pending_.empty()) throw std::bad_alloc();
            if (!Flush()) return false;
        }
    }

    // Answers the whole lines of the chunk being filled on this thread, after
    // everything given to the pool. False after a write error or a stop.
    bool AnswerHere() {
        if (!WriteFinished(0)) return false;
        if (StopSignal() != 0) return false;
        Chunk& c = *filling_;
        if (c.lineEnd == 0) return true;
        if (!AnswerHere(c.input.data(), c.lineEnd)) return false;
        std::memmove(c.input.data(), c.input.data() + c.lineEnd, c.used - c.lineEnd);
        c.used -= c.lineEnd;
        c.lineEnd = 0;
        // After a long line the buffer goes back to its normal size.
        if (c.input.size() > normal_ && c.used + minRoom_ <= normal_) c.input.Resize(normal_);
        return true;
    }

    // Answers the last line, which has no line break, or the line being
    // skipped (then `line` is empty). False after a write error.
    bool AnswerLast(std::string_view line) {
        if (!RoomForAnswer(pending_) && !Flush()) return false;  // written, it has the room
        if (skipping_) {
            pending_ += skippedForMemory_ ? outOfMemoryAnswer_ : answering_.overlong;
            skippedForMemory_ = false;
        } else {
            AppendBatchAnswer(line, pending_);
        }
        return true;
    }

    bool Write(std::string& text) {
        if (!out_.Write(text)) {
            writeFailed_ = true;
            return false;
        }
        return true;
    }

    // Writes pending_; a buffer grown large by a huge answer is given back.
    bool Flush() {
        if (writeFailed_ || !Write(pending_)) return false;
        if (pending_.capacity() > 4 * kFlushBytes) {
            try {
                std::string smaller;
                smaller.reserve(kFlushBytes + kRoomForAnswer);
                pending_.swap(smaller);
            } catch (const std::bad_alloc&) {
                // The large one serves.
            }
        }
        return true;
    }

    int input_;
    Output out_;
    std::FILE* err_;
    int wakeFd_;
    BatchOptions options_;
    Answering answering_;
    std::size_t chunkBytes_ = 0;
    unsigned threads_ = 0;
    // Sizes: a normal buffer, the least room a read is given, the whole lines
    // that make a chunk, how far a normal buffer is filled, and the budget's
    // share of each chunk.
    std::size_t normal_ = 0, minRoom_ = 0, threshold_ = 0, fillLimit_ = 0, share_ = 0;
    std::size_t ratio_ = kAnswerRatio;  // answer bytes per input byte, from the last chunk written
    std::unique_ptr<Chunk> filling_;
    // The chunks in flight, oldest first: a ring with a slot for each, so that
    // handing a chunk over never needs memory.
    std::vector<std::unique_ptr<Chunk>> inFlight_;
    std::size_t firstInFlight_ = 0, inFlightCount_ = 0;
    std::vector<std::unique_ptr<Chunk>> spare_;
    std::unique_ptr<Pool> pool_;
    std::string pending_;  // answers of this thread not yet written
    bool skipping_ = false;  // inside a line longer than maxLine, or too long for the memory
    bool skippedForMemory_ = false;
    [[maybe_unused]] bool lastReadFull_ = false;  // the last read filled all the room it had
    // The answer for a line that memory could not hold, made while there is memory.
    std::string outOfMemoryAnswer_;
    bool writeFailed_ = false;
};

}  // namespace

int RunBatch(int input, int output, std::FILE* err, const BatchOptions& options) {
    const StopSignals signals;
    try {
        Batch batch(input, output, err, options, signals.WakeFd());
        return batch.Run();
    } catch (const std::bad_alloc&) {
        // Only the stream's own least buffers get here (each line's answer
        // catches its own): nothing more can be read.
        std::fputs("vesk310-calc: out of memory\n", err);
        std::fflush(err);
        return 1;
    }
}

}  // namespace vesk::cli
