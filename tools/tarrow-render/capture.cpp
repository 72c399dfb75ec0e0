// capture.cpp - the capture's worker and its hand-over.
#include "tarrow-render/capture.h"

#include "tarrow-render/sha256.h"

#include <pthread.h>

#include <cerrno>
#include <chrono>

namespace {

// How often a waiting loop looks at the interruption flag, and how often a
// stopping worker is nudged again: a signal handler can do no more than set
// the flag, and a signal may reach any thread.
constexpr auto kLookAgain = std::chrono::milliseconds(20);

} // namespace

Capture::Capture(Sinks sinks, std::size_t depth)
    : sinks_(std::move(sinks)), depth_(depth), pool_(depth + 2) {
    if (sinks_.video != nullptr) {
        video_.emplace(sinks_.video->stream(), sinks_.width, sinks_.height);
    }
    for (std::vector<std::uint8_t>& buffer : pool_) {
        free_.push_back(&buffer);
    }
    worker_ = std::thread([this] { Work(); });
}

Capture::~Capture() {
    Stop(0);
}

std::vector<std::uint8_t>* Capture::Acquire(const volatile std::sig_atomic_t& interrupted) {
    std::unique_lock lock(mutex_);
    while (!finished_ && interrupted == 0 && (queue_.size() >= depth_ || free_.empty())) {
        changed_.wait_for(lock, kLookAgain);
    }
    if (finished_ || interrupted != 0) {
        return nullptr;
    }
    filling_ = free_.back();
    free_.pop_back();
    return filling_;
}

void Capture::Submit(long frame) {
    std::lock_guard lock(mutex_);
    queue_.push_back(Job{frame, filling_});
    filling_ = nullptr;
    highWater_ = std::max(highWater_, queue_.size());
    changed_.notify_all();
}

std::optional<std::string> Capture::Drain(const volatile std::sig_atomic_t& interrupted) {
    std::unique_lock lock(mutex_);
    while (!finished_ && interrupted == 0 && (!queue_.empty() || working_)) {
        changed_.wait_for(lock, kLookAgain);
    }
    return failure_;
}

void Capture::Stop(int signal) {
    std::unique_lock lock(mutex_);
    stopping_ = true;
    changed_.notify_all();
    while (!finished_) {
        if (signal != 0) {
            pthread_kill(worker_.native_handle(), signal);
        }
        changed_.wait_for(lock, kLookAgain);
    }
    lock.unlock();
    if (worker_.joinable()) {
        worker_.join();
    }
}

std::size_t Capture::HighWater() const {
    std::lock_guard lock(mutex_);
    return highWater_;
}

std::vector<FrameDigest> Capture::Digests() const {
    std::lock_guard lock(mutex_);
    return digests_;
}

void Capture::Work() {
    std::unique_lock lock(mutex_);
    while (true) {
        changed_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
        if (stopping_) {
            break;
        }
        const Job job = queue_.front();
        queue_.pop_front();
        working_ = true;
        lock.unlock();
        std::string error;
        const bool written = Write(job, &error);
        lock.lock();
        working_ = false;
        free_.push_back(job.pixels);
        changed_.notify_all();
        if (!written) {
            if (!stopping_) {
                failure_ = error;
            }
            break;
        }
    }
    finished_ = true;
    changed_.notify_all();
}

bool Capture::Write(const Job& job, std::string* error) {
    const std::uint8_t* pixels = job.pixels->data();
    if (sinks_.frames != nullptr && sinks_.frames->Writes(job.frame)) {
        const std::unique_ptr<OutputFile> file =
            OutputFile::Open(sinks_.frames->Frame(job.frame), error);
        if (!file) {
            return false;
        }
        const std::vector<std::uint8_t>& image =
            encoder_.Encode(sinks_.width, sinks_.height, 3, pixels);
        if (image.empty() ||
            std::fwrite(image.data(), 1, image.size(), file->stream()) != image.size()) {
            *error = file->Failure(errno);
            return false;
        }
        if (!file->Commit(error)) {
            return false;
        }
        if (sinks_.digests) {
            const std::string digest = Sha256Hex(image.data(), image.size());
            std::lock_guard lock(mutex_);
            digests_.push_back(FrameDigest{job.frame, digest});
        }
    }
    if (video_ && !video_->WriteFrame(pixels)) {
        *error = sinks_.video->Failure(errno);
        return false;
    }
    return true;
}
