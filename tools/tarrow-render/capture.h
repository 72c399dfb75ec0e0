// capture.h - writing the frames a run keeps, off the frame loop.
//
// The frame loop reads each frame back into a buffer from a small pool and
// hands it over; one worker thread converts, encodes and writes the frames in
// their order (the PNG stills, the video) and gives the buffer back. With at
// most `depth` frames waiting, memory stays bounded while writing overlaps the
// next frame's drawing. A write that fails stops the worker; the loop learns
// of it at its next hand-over. Stop ends the worker at once, even while it is
// blocked writing to a pipe nobody reads.
#pragma once

#include "codecs/png_image.h"
#include "codecs/y4m_video.h"
#include "tarrow-render/chunk.h"
#include "tarrow-render/frames_folder.h"
#include "tarrow-render/output_file.h"

#include <condition_variable>
#include <csignal>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

class Capture {
  public:
    struct Sinks {
        const FramesFolder* frames = nullptr; // stills, where the run keeps them
        OutputFile* video = nullptr;          // every frame, where the run records one
        int width = 0;
        int height = 0;
        bool digests = false; // the SHA-256 of each still, for a chunk's manifest
    };

    Capture(Sinks sinks, std::size_t depth);
    ~Capture(); // stops the worker (see Stop) and waits for it
    Capture(const Capture&) = delete;
    Capture& operator=(const Capture&) = delete;

    // A buffer for the next frame, once fewer than `depth` frames wait; null
    // once the worker has failed, or as soon as `interrupted` is set.
    std::vector<std::uint8_t>* Acquire(const volatile std::sig_atomic_t& interrupted);
    // Queues frame number `frame`, read into the buffer Acquire gave.
    void Submit(long frame);
    // Waits until every queued frame is written; the first failure, if any.
    std::optional<std::string> Drain(const volatile std::sig_atomic_t& interrupted);
    // Ends the worker now, dropping what waits. `signal`, where not 0, is
    // sent to the worker until it ends, so that a write it is blocked in
    // returns (the signal's handler must be installed without SA_RESTART).
    void Stop(int signal);

    // The most frames that ever waited at once.
    std::size_t HighWater() const;
    // The stills written, each with the SHA-256 of its file, in frame order
    // (where the sinks ask for digests); complete once drained.
    std::vector<FrameDigest> Digests() const;

  private:
    struct Job {
        long frame;
        std::vector<std::uint8_t>* pixels;
    };

    void Work();
    bool Write(const Job& job, std::string* error);

    Sinks sinks_;
    std::optional<Y4mWriter> video_;
    std::size_t depth_;
    std::vector<std::vector<std::uint8_t>> pool_;
    std::vector<std::vector<std::uint8_t>*> free_;
    std::vector<std::uint8_t>* filling_ = nullptr;
    std::deque<Job> queue_;
    std::size_t highWater_ = 0;
    bool working_ = false; // the worker holds a job
    bool stopping_ = false;
    bool finished_ = false; // the worker has ended
    std::optional<std::string> failure_;
    std::vector<FrameDigest> digests_;
    PngEncoder encoder_; // the worker's
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::thread worker_;
};
