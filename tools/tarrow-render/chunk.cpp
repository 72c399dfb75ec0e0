// chunk.cpp - chunks' ranges, their number from the engine, and manifests.
#include "tarrow-render/chunk.h"

#include <nlohmann/json.hpp>

#include <cstdint>
#include <cstdlib>

namespace {

// A whole number an environment variable holds, or nothing where it holds
// none (unset, empty, or not written in digits).
std::optional<long> NumberIn(const char* variable) {
    const char* text = std::getenv(variable);
    if (text == nullptr || *text == '\0' ||
        std::string(text).find_first_not_of("0123456789") != std::string::npos ||
        std::string(text).size() > 9) {
        return std::nullopt;
    }
    return std::strtol(text, nullptr, 10);
}

bool IsSha256(const std::string& text) {
    return text.size() == 64 && text.find_first_not_of("0123456789abcdef") == std::string::npos;
}

} // namespace

FrameRange RangeOfChunk(long chunk, long chunks, long frames) {
    // K*F, at most 10^18 for the frames a run may have, fits 64 bits.
    const auto bound = [&](long k) {
        return static_cast<long>(static_cast<std::int64_t>(k) * frames / chunks);
    };
    return FrameRange{bound(chunk - 1) + 1, bound(chunk)};
}

Problem ChunkFromEnvironment(long chunks, long* chunk) {
    std::optional<long> index;
    std::string source;
    if (const std::optional<long> task = NumberIn("SLURM_ARRAY_TASK_ID")) {
        index = *task;
        source = "SLURM_ARRAY_TASK_ID=" + std::to_string(*task);
    } else if (const std::optional<long> completion = NumberIn("JOB_COMPLETION_INDEX")) {
        index = *completion;
        source = "JOB_COMPLETION_INDEX=" + std::to_string(*completion);
    } else {
        return "--chunk N needs the chunk's number: --chunk K/N, or SLURM_ARRAY_TASK_ID or "
               "JOB_COMPLETION_INDEX set by the farm's engine";
    }
    if (*index >= chunks) {
        return source + " names chunk " + std::to_string(*index + 1) + ", past the " +
               std::to_string(chunks) + " of --chunk " + std::to_string(chunks);
    }
    *chunk = *index + 1;
    return std::nullopt;
}

std::string ManifestName(long chunk, long chunks) {
    return "chunk-" + std::to_string(chunk) + "-of-" + std::to_string(chunks) + ".json";
}

std::string ManifestJson(const Manifest& manifest) {
    nlohmann::ordered_json frames = nlohmann::ordered_json::array();
    for (const FrameDigest& digest : manifest.frames) {
        frames.push_back({{"frame", digest.frame}, {"sha256", digest.sha256}});
    }
    const nlohmann::ordered_json json = {
        {"version", manifest.version},
        {"revision", manifest.revision.empty() ? nlohmann::ordered_json(nullptr)
                                               : nlohmann::ordered_json(manifest.revision)},
        {"seed", manifest.seed},
        {"size", {{"width", manifest.width}, {"height", manifest.height}}},
        {"chunk",
         {{"index", manifest.chunk},
          {"count", manifest.chunks},
          {"first", manifest.range.first},
          {"last", manifest.range.last}}},
        {"run", {{"first", manifest.run.first}, {"last", manifest.run.last}}},
        {"renderer", manifest.renderer},
        {"frames", frames},
    };
    return json.dump(2) + "\n";
}

Problem ReadManifest(const std::string& text, Manifest* manifest) {
    try {
        const nlohmann::json json = nlohmann::json::parse(text);
        Manifest read;
        read.version = json.at("version").get<std::string>();
        read.revision = json.at("revision").is_null() ? "" : json.at("revision").get<std::string>();
        read.seed = json.at("seed").get<std::uint32_t>();
        read.width = json.at("size").at("width").get<int>();
        read.height = json.at("size").at("height").get<int>();
        read.chunk = json.at("chunk").at("index").get<long>();
        read.chunks = json.at("chunk").at("count").get<long>();
        read.range = {json.at("chunk").at("first").get<long>(),
                      json.at("chunk").at("last").get<long>()};
        read.run = {json.at("run").at("first").get<long>(), json.at("run").at("last").get<long>()};
        read.renderer = json.at("renderer").get<std::string>();
        for (const nlohmann::json& frame : json.at("frames")) {
            read.frames.push_back(
                {frame.at("frame").get<long>(), frame.at("sha256").get<std::string>()});
        }
        const FrameRange expected = RangeOfChunk(read.chunk, read.chunks, read.run.last);
        if (read.run.first != 1 || read.chunk < 1 || read.chunk > read.chunks ||
            read.chunks > read.run.last || read.range.first != expected.first ||
            read.range.last != expected.last || read.width < 1 || read.height < 1 ||
            read.width > kLargestEdge || read.height > kLargestEdge) {
            return "its chunk, range and size do not agree";
        }
        if (read.frames.size() !=
            static_cast<std::size_t>(read.range.last - read.range.first + 1)) {
            return "it lists " + std::to_string(read.frames.size()) + " frames for a chunk of " +
                   std::to_string(read.range.last - read.range.first + 1);
        }
        for (std::size_t i = 0; i < read.frames.size(); ++i) {
            if (read.frames[i].frame != read.range.first + static_cast<long>(i) ||
                !IsSha256(read.frames[i].sha256)) {
                return "its frame list is not the chunk's frames in order, each with a SHA-256";
            }
        }
        *manifest = std::move(read);
        return std::nullopt;
    } catch (const nlohmann::json::exception& failure) {
        return std::string("not a chunk manifest (") + failure.what() + ")";
    }
}

Manifest BuildManifest() {
    Manifest manifest;
    const std::string version = TARROW_VERSION; // "1.0.0" or "1.0.0 (git abc1234)"
    const std::size_t space = version.find(' ');
    manifest.version = version.substr(0, space);
    const std::string git = " (git ";
    if (space != std::string::npos && version.compare(space, git.size(), git) == 0 &&
        version.back() == ')') {
        manifest.revision =
            version.substr(space + git.size(), version.size() - space - git.size() - 1);
    }
    return manifest;
}
