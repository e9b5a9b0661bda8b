// Line-end conversion into a memory area, bounded by the area's capacity.
#include "runtime/system/text_read.h"

namespace {

constexpr unsigned char kCr = 13;
constexpr unsigned char kLf = 10;

// Stores one text byte when it lies before the terminator's place, and counts
// it either way: the last byte of the area is always kept for the terminator.
void Put(TextAreaFill &fill, unsigned char byte) {
    if (fill.count + 1 < fill.capacity)
        fill.area[fill.count] = static_cast<char>(byte);
    ++fill.count;
}

bool Full(const TextAreaFill &fill) {
    return fill.count >= fill.capacity;
}

} // namespace

TextAreaFill StartTextAreaFill(char *area, std::size_t capacity) {
    TextAreaFill fill{area, area ? capacity : 0, 0, 0};
    if (fill.capacity > 0)
        fill.area[0] = '\0';
    return fill;
}

bool FeedTextAreaFill(TextAreaFill &fill, const char *bytes, std::size_t n) {
    for (std::size_t i = 0; i < n && !Full(fill); ++i) {
        const unsigned char byte = static_cast<unsigned char>(bytes[i]);
        if (byte == kCr) {
            Put(fill, kCr);
            Put(fill, kLf);
        } else if (!(byte == kLf && fill.previous == kCr)) {
            Put(fill, byte);
        }
        fill.previous = byte;
    }
    return !Full(fill);
}

bool FinishTextAreaFill(TextAreaFill &fill) {
    const bool cut = Full(fill);
    if (!cut) {
        Put(fill, kCr);
        Put(fill, kLf);
    }
    if (fill.capacity > 0)
        fill.area[fill.count < fill.capacity ? fill.count : fill.capacity - 1] = '\0';
    return cut;
}
