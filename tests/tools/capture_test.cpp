// The capture's worker: frames written in their order, and never more than
// its bound waiting, however slowly the video's reader reads.
#include "tarrow-render/capture.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <csignal>
#include <thread>

namespace {

TEST(Capture, KeepsOrderAndItsBoundWithASlowReader) {
    constexpr int kWidth = 32;
    constexpr int kHeight = 20;
    constexpr int kFrames = 200;
    constexpr std::size_t kDepth = 2;
    int pipeEnds[2];
    ASSERT_EQ(pipe(pipeEnds), 0);
    std::string error;
    const std::unique_ptr<OutputFile> video = OutputFile::Open(
        *ResolveOutput("/dev/fd/" + std::to_string(pipeEnds[1]), "the video", &error), &error);
    ASSERT_NE(video, nullptr) << error;
    close(pipeEnds[1]);
    setvbuf(video->stream(), nullptr, _IONBF, 0); // every frame reaches the pipe as it is written
    std::string received;
    std::thread reader([&] {
        char chunk[512]; // smaller than a frame: the writer waits on the reader
        for (ssize_t got; (got = read(pipeEnds[0], chunk, sizeof chunk)) > 0;) {
            received.append(chunk, static_cast<std::size_t>(got));
        }
    });
    {
        Capture capture(Capture::Sinks{nullptr, video.get(), kWidth, kHeight}, kDepth);
        const volatile std::sig_atomic_t running = 0;
        for (int frame = 1; frame <= kFrames; ++frame) {
            std::vector<std::uint8_t>* pixels = capture.Acquire(running);
            ASSERT_NE(pixels, nullptr);
            // A flat grey whose level is the frame's number, to tell frames apart.
            pixels->assign(static_cast<std::size_t>(kWidth) * kHeight * 3,
                           static_cast<std::uint8_t>(frame));
            capture.Submit(frame);
        }
        EXPECT_EQ(capture.Drain(running), std::nullopt);
        EXPECT_LE(capture.HighWater(), kDepth);
    }
    EXPECT_TRUE(video->Commit(&error)) << error;
    reader.join();
    const std::size_t header = Y4mHeader(kWidth, kHeight).size();
    const std::size_t frameBytes = 6 + kWidth * kHeight * 3 / 2;
    ASSERT_EQ(received.size(), header + kFrames * frameBytes);
    for (int frame = 1; frame <= kFrames; ++frame) {
        const auto luma = static_cast<unsigned char>(
            received[header + static_cast<std::size_t>(frame - 1) * frameBytes + 6]);
        ASSERT_EQ(luma, ToYCbCr(static_cast<std::uint8_t>(frame), static_cast<std::uint8_t>(frame),
                                static_cast<std::uint8_t>(frame))
                            .y)
            << "frame " << frame;
    }
}

} // namespace
