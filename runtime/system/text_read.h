// Line-end conversion for whole-file text reads into a memory area (the
// platform-free half of ReadTextToArea). The caller feeds the file's bytes in
// order and finishes once; the fill writes only inside the area it was given.
//
// The text produced is always the longest prefix of
//   converted file bytes + CR LF
// that fits in the area together with its zero terminator, where converting
// turns every CR into CR LF, drops an LF that directly follows a CR and keeps
// every other byte (a lone LF included). Single-threaded; the caller owns the area.
#pragma once

#include <cstddef>

struct TextAreaFill {
    char *area;
    std::size_t capacity;
    // Length of the converted text so far; it may pass the capacity, the bytes
    // beyond the area are counted but never stored.
    std::size_t count;
    unsigned char previous;
};

// A fill of the capacity bytes at area (capacity 0: nothing is ever written).
TextAreaFill StartTextAreaFill(char *area, std::size_t capacity);
// Converts the next n bytes of the file. Returns false once the converted
// text has reached the capacity: the rest of the file is then not needed
// and the caller stops reading (further bytes are ignored).
bool FeedTextAreaFill(TextAreaFill &fill, const char *bytes, std::size_t n);
// Appends CR LF as far as room remains and writes the terminator. Returns true
// when the converted file content did not fit (it was cut to capacity - 1 bytes).
bool FinishTextAreaFill(TextAreaFill &fill);
