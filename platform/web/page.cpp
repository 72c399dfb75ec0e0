// page.cpp - the page's own services, over browser.js.
#include "platform/web/page.h"

#include "web/browser.h"

#include <cstdio>
#include <cstdlib>

namespace platform::web {

std::string PageQuery() {
    char* query = tarrow_page_query();
    std::string text = query;
    std::free(query);
    return text;
}

void ShowLine(const std::string& text, bool isError) {
    std::fprintf(isError ? stderr : stdout, "%s\n", text.c_str());
    std::fflush(isError ? stderr : stdout);
    tarrow_page_line(text.c_str(), isError ? 1 : 0);
}

void ShowDump(const std::string& json) {
    tarrow_show_dump(json.c_str());
}

void KeepFrame(long frame, const std::vector<std::uint8_t>& rgb, int width, int height) {
    tarrow_keep_frame(frame, rgb.data(), static_cast<int>(rgb.size()), width, height);
}

void NoteRun(long frames, double seconds) {
    tarrow_note_run(frames, seconds);
}

int LargestSurfaceEdge() {
    return tarrow_largest_surface();
}

void NoteState(const char* state) {
    tarrow_note_state(state);
}

} // namespace platform::web
