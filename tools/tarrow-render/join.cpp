// join.cpp - the manifests checked against each other and the frames, then
// the frames decoded into one video.
#include "tarrow-render/join.h"

#include "codecs/png_image.h"
#include "codecs/y4m_video.h"
#include "tarrow-render/chunk.h"
#include "tarrow-render/frames_folder.h"
#include "tarrow-render/output_file.h"
#include "tarrow-render/sha256.h"

#include <dirent.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

struct Chunk {
    std::string name;
    Manifest manifest;
};

JoinResult Refuse(std::string reason) {
    return JoinResult{std::move(reason), true};
}

// False where the file cannot be opened or read through.
bool ReadWhole(const std::string& path, std::vector<std::uint8_t>* bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return false;
    }
    bytes->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return in.good() || in.eof();
}

std::string FramePath(const std::string& folder, long frame) {
    return folder + "/" + FrameName(frame);
}

// "frame 7", or "frames 7 to 9".
std::string Frames(long first, long last) {
    return first == last ? "frame " + std::to_string(first)
                         : "frames " + std::to_string(first) + " to " + std::to_string(last);
}

// chunk-K-of-N.json, K and N in decimal digits.
bool IsManifestName(const std::string& name) {
    const auto digits = [&](std::size_t from, std::size_t to) {
        return to > from && name.find_first_not_of("0123456789", from) >= to;
    };
    const std::string head = "chunk-";
    const std::string tail = ".json";
    const std::size_t of = name.find("-of-", head.size());
    return name.rfind(head, 0) == 0 && name.size() > tail.size() &&
           name.compare(name.size() - tail.size(), tail.size(), tail) == 0 &&
           of != std::string::npos && digits(head.size(), of) &&
           digits(of + 4, name.size() - tail.size());
}

// The manifests the folder holds, read and each checked on its own.
JoinResult ReadChunks(const std::string& folder, std::vector<Chunk>* chunks) {
    DIR* listing = opendir(folder.c_str());
    if (listing == nullptr) {
        return Refuse("cannot list " + folder + ": " + std::strerror(errno));
    }
    std::vector<std::string> names;
    while (const dirent* entry = readdir(listing)) {
        if (IsManifestName(entry->d_name)) {
            names.emplace_back(entry->d_name);
        }
    }
    closedir(listing);
    if (names.empty()) {
        return Refuse(folder + " holds no chunk manifest (chunk-K-of-N.json): no chunk finished");
    }
    for (const std::string& name : names) {
        std::vector<std::uint8_t> bytes;
        Chunk chunk{name, {}};
        if (!ReadWhole(folder + "/" + name, &bytes)) {
            return Refuse("cannot read " + folder + "/" + name);
        }
        if (const Problem problem =
                ReadManifest(std::string(bytes.begin(), bytes.end()), &chunk.manifest)) {
            return Refuse(folder + "/" + name + ": " + *problem);
        }
        if (name != ManifestName(chunk.manifest.chunk, chunk.manifest.chunks)) {
            return Refuse(folder + "/" + name + " holds chunk " +
                          std::to_string(chunk.manifest.chunk) + " of " +
                          std::to_string(chunk.manifest.chunks));
        }
        chunks->push_back(std::move(chunk));
    }
    std::sort(chunks->begin(), chunks->end(), [](const Chunk& a, const Chunk& b) {
        return a.manifest.range.first != b.manifest.range.first
                   ? a.manifest.range.first < b.manifest.range.first
                   : a.name < b.name;
    });
    return {};
}

// One run, drawn alike: what every chunk must share with the first.
JoinResult CheckAlike(const std::vector<Chunk>& chunks) {
    const Chunk& first = chunks.front();
    const Manifest& one = first.manifest;
    for (const Chunk& chunk : chunks) {
        const Manifest& other = chunk.manifest;
        const auto differ = [&](const std::string& what, const std::string& mine,
                                const std::string& theirs) {
            return Refuse("the chunks are of different " + what + ": " + first.name + " has " +
                          mine + ", " + chunk.name + " " + theirs);
        };
        if (other.seed != one.seed) {
            return differ("runs", "seed " + std::to_string(one.seed),
                          "seed " + std::to_string(other.seed));
        }
        if (other.width != one.width || other.height != one.height) {
            const auto size = [](const Manifest& m) {
                return std::to_string(m.width) + "x" + std::to_string(m.height);
            };
            return differ("sizes", size(one), size(other));
        }
        if (other.run.last != one.run.last) {
            return differ("runs", std::to_string(one.run.last) + " frames",
                          std::to_string(other.run.last) + " frames");
        }
        if (other.renderer != one.renderer) {
            return differ("renderers", "'" + one.renderer + "'", "'" + other.renderer + "'");
        }
        if (other.version != one.version || other.revision != one.revision) {
            return differ("builds", one.version + " " + one.revision,
                          other.version + " " + other.revision);
        }
    }
    return {};
}

// Every frame of the run in exactly one chunk.
JoinResult CheckCoverage(const std::vector<Chunk>& chunks) {
    std::vector<std::string> problems;
    long covered = 0; // the frames up to here are in a chunk
    const Chunk* previous = nullptr;
    for (const Chunk& chunk : chunks) {
        const FrameRange range = chunk.manifest.range;
        if (range.first > covered + 1) {
            problems.push_back(Frames(covered + 1, range.first - 1) + " in no chunk");
        } else if (range.first <= covered) {
            problems.push_back(Frames(range.first, std::min(covered, range.last)) + " in both " +
                               previous->name + " and " + chunk.name);
        }
        if (range.last > covered) {
            covered = range.last;
            previous = &chunk;
        }
    }
    const long last = chunks.front().manifest.run.last;
    if (covered < last) {
        problems.push_back(Frames(covered + 1, last) + " in no chunk");
    }
    if (problems.empty()) {
        return {};
    }
    std::string reason =
        "the chunks do not cover the run's " + std::to_string(last) + " frames once each: ";
    for (std::size_t i = 0; i < problems.size(); ++i) {
        reason += (i > 0 ? "; " : "") + problems[i];
    }
    return Refuse(reason);
}

// The frame's file, read, as its chunk wrote it down.
JoinResult ReadFrame(const std::string& folder, const Chunk& chunk, const FrameDigest& digest,
                     std::vector<std::uint8_t>* bytes) {
    const std::string path = FramePath(folder, digest.frame);
    if (!ReadWhole(path, bytes)) {
        return Refuse(path + ", listed in " + chunk.name + ", is missing or cannot be read");
    }
    if (Sha256Hex(bytes->data(), bytes->size()) != digest.sha256) {
        return Refuse(path + " is not the frame " + chunk.name +
                      " wrote (its SHA-256 differs): corrupted or replaced");
    }
    return {};
}

// Whether the video would be written over one of the chunks' own files: a
// frame or a manifest in their folder, however the two paths are spelled.
bool InFolder(const std::string& folder, const OutputTarget& target) {
    const std::shared_ptr<const Folder> chunks = Folder::Open(folder);
    const std::string name = NameOf(target.named);
    return chunks && target.folder->place() == chunks->place() &&
           (IsManifestName(name) || name.rfind("frame-", 0) == 0);
}

} // namespace

JoinResult JoinChunks(const std::string& folder, const std::string& videoPath,
                      const volatile std::sig_atomic_t& interruptedBy) {
    std::vector<Chunk> chunks;
    if (JoinResult read = ReadChunks(folder, &chunks); !read.error.empty()) {
        return read;
    }
    if (JoinResult alike = CheckAlike(chunks); !alike.error.empty()) {
        return alike;
    }
    if (JoinResult covered = CheckCoverage(chunks); !covered.error.empty()) {
        return covered;
    }
    // Every frame proved before the video is begun, as a video on standard
    // output cannot be taken back.
    std::vector<std::uint8_t> bytes;
    for (const Chunk& chunk : chunks) {
        for (const FrameDigest& digest : chunk.manifest.frames) {
            if (JoinResult read = ReadFrame(folder, chunk, digest, &bytes); !read.error.empty()) {
                return read;
            }
        }
    }

    std::string error;
    const std::optional<OutputTarget> target = ResolveOutput(videoPath, "the video", &error);
    if (target && target->folder && InFolder(folder, *target)) {
        return Refuse("--y4m " + videoPath + " would replace a file of the chunks in " + folder);
    }
    std::unique_ptr<OutputFile> video = target ? OutputFile::Open(*target, &error) : nullptr;
    if (!video) {
        return JoinResult{error, false};
    }
    const Manifest& run = chunks.front().manifest;
    Y4mWriter writer(video->stream(), run.width, run.height);
    std::vector<std::uint8_t> rgb;
    for (const Chunk& chunk : chunks) {
        for (const FrameDigest& digest : chunk.manifest.frames) {
            // Read and proved again: what is decoded is what was checked.
            if (JoinResult read = ReadFrame(folder, chunk, digest, &bytes); !read.error.empty()) {
                return read;
            }
            int width = 0;
            int height = 0;
            if (const Problem problem = ReadPng(bytes, &width, &height, &rgb)) {
                return Refuse(FramePath(folder, digest.frame) + ": " + *problem);
            }
            if (width != run.width || height != run.height) {
                return Refuse(FramePath(folder, digest.frame) + " is not " +
                              std::to_string(run.width) + "x" + std::to_string(run.height));
            }
            if (!writer.WriteFrame(rgb.data())) {
                return JoinResult{video->Failure(errno), false};
            }
            if (interruptedBy != 0) {
                return JoinResult{"interrupted; the unfinished video removed", false};
            }
        }
    }
    if (!video->Commit(&error)) {
        return JoinResult{error, false};
    }
    return {};
}
