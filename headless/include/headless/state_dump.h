// state_dump.h - the whole scene state as one JSON object.
//
// Keys "seed", "frames" and "window" (the size the scene was drawn at, null
// for a run that drew nothing), then one key per object array, named as the
// array, each holding its elements in index order; an element's keys are its
// class's field names. 3-vectors are [x, y, z], a block's corners one flat
// array of 24 numbers; floats carry 9 significant digits, enough to read back
// the same single-precision value.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

struct WindowSize {
    int width;
    int height;
};

std::string SceneStateJson(std::uint32_t seed, long frames, std::optional<WindowSize> window);

// One number for the whole state: a 64-bit hash of every field's bits in the
// dump's order, the same on every CPU for the same state, so that two runs'
// numbers frame by frame name the first frame where they part.
std::uint64_t SceneStateHash();
