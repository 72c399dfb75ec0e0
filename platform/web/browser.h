// browser.h - the functions of browser.js, as the platform's C++ calls them.
#pragma once

extern "C" {
void tarrow_make_canvas(const char* id, int width, int height, const char* title);
void tarrow_show_canvas(const char* id);
void tarrow_close_canvas(const char* id);
void tarrow_full_screen(int on);
int tarrow_full_screen_again(); // from a key press's event: 1 when it asked
void tarrow_hide_cursor(int hidden);
void tarrow_keep_screen_awake(int on);
void tarrow_page_line(const char* text, int isError);
void tarrow_note_state(const char* state);
char* tarrow_page_query(); // malloc'd
void tarrow_show_dump(const char* text);
void tarrow_keep_frame(long frame, const unsigned char* rgb, int length, int width, int height);
void tarrow_note_run(long frames, double seconds);
int tarrow_largest_surface();
// The two yields: the program's stack unwinds here and winds back when the
// browser calls again.
void tarrow_yield_to_browser(int paced, double notBefore);
void tarrow_wait_for_event();
void tarrow_wake();
}
