#include "core/input/text_chunks.h"

namespace orvenda::input {

std::string shortenedItem(const char* begin, const char* end) {
    constexpr std::ptrdiff_t kMaxShown = 40;
    std::string item(begin, end - begin > kMaxShown ? begin + kMaxShown : end);
    for (char& c : item)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) c = '?';
    if (end - begin > kMaxShown) item += "...";
    return item;
}

}  // namespace orvenda::input
