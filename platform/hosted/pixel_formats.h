// pixel_formats.h - the pixel formats a build has handed out, numbered from 1
// in the order they were first asked for, as the desktop API numbers them:
// the same format always gets the same number. Format is what the build keeps
// of a request (the surface it asks its driver for, or the depth alone).
#pragma once

#include <cstddef>
#include <vector>

namespace platform::detail {

template <typename Format>
class PixelFormats {
  public:
    // The format's number, handing out the next one the first time.
    int Number(const Format& format) {
        for (std::size_t i = 0; i < formats_.size(); ++i) {
            if (formats_[i] == format) {
                return static_cast<int>(i + 1);
            }
        }
        formats_.push_back(format);
        return static_cast<int>(formats_.size());
    }

    // The format behind a number, null for one not handed out.
    const Format* Find(int number) const {
        if (number < 1 || number > static_cast<int>(formats_.size())) {
            return nullptr;
        }
        return &formats_[static_cast<std::size_t>(number - 1)];
    }

  private:
    std::vector<Format> formats_;
};

} // namespace platform::detail
