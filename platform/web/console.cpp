// console.cpp - text for whoever opened the page: on the console and in the page.
#include "platform/console.h"

#include "platform/web/page.h"

namespace platform {

void ShowText(const std::string& text, bool isError, const char* /*caption*/) {
    web::ShowLine(text, isError);
}

} // namespace platform
