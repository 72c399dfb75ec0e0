// standard_streams.h - the three standard descriptors as the run finds them.
//
// One closed at start is opened on /dev/null, so no output file can take its
// number (a file landing on descriptor 1 would get whatever the run prints),
// and it is remembered as closed: an output asked of it is refused, as its
// bytes would go nowhere. What goes to standard output is written checked: a
// full disk, a closed descriptor or a reader gone is an error, not a silent
// loss. Where an output is written to what standard error holds, the run's
// messages (and the libraries') would mix into it: standard error is then
// turned to /dev/null, and the exit status alone tells of a failure.
#pragma once

#include "tarrow-render/place.h"

#include <optional>
#include <string>

// Call first thing: opens /dev/null on closed standard descriptors.
void GuardStandardDescriptors();
// Whether standard descriptor `descriptor` (0 to 2) was closed at start.
bool ClosedAtStart(int descriptor);
// What standard descriptor `descriptor` holds; nullopt when it was closed at start.
std::optional<Place> StandardPlace(int descriptor);
// Sends standard error to /dev/null from now on.
void SilenceStandardError();
// "standard output" for 1, and so on.
std::string StandardName(int descriptor);

// Writes `text` to standard output; false with a one-line reason when it did
// not all arrive.
bool PrintToStdout(const std::string& text, std::string* error);
