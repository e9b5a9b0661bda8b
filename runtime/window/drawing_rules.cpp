#include "runtime/window/drawing_rules.h"

#include <algorithm>

std::uint32_t ColourFrom15Bit(std::uint32_t value) {
    // 8.226 as 8226 / 1000 keeps the truncation exact.
    auto expand = [](std::uint32_t part) { return (part & 31u) * 8226u / 1000u; };
    std::uint32_t red = expand(value);
    std::uint32_t green = expand(value >> 5);
    std::uint32_t blue = expand(value >> 10);
    return red | (green << 8) | (blue << 16);
}

bool IsNumericName(const char *name) {
    if (name == nullptr || *name == '\0') {
        return false;
    }
    for (const char *p = name; *p != '\0'; ++p) {
        if (*p < '0' || *p > '9') {
            return false;
        }
    }
    return true;
}

std::uint16_t NumericNameId(const char *name) {
    // Only the low 16 bits count, so the digits can be folded modulo 65536.
    std::uint32_t value = 0;
    for (const char *p = name; *p >= '0' && *p <= '9'; ++p) {
        value = (value * 10u + static_cast<std::uint32_t>(*p - '0')) & 0xFFFFu;
    }
    return static_cast<std::uint16_t>(value);
}

std::uint32_t RasterOperationOfMode(std::int32_t mode) {
    switch (mode) {
    case 1:
        return RopSrcAnd;
    case 2:
        return RopSrcPaint;
    case 3:
        return RopSrcInvert;
    case 4:
        return RopDstInvert;
    default:
        return RopSrcCopy;
    }
}

std::string WithoutLineBreaks(std::string text) {
    text.erase(std::remove(text.begin(), text.end(), '\n'), text.end());
    text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
    return text;
}

ConsolePiece NextConsolePiece(const std::string &text, std::int32_t ending, bool wrap, std::int32_t columns,
                              std::int32_t column) {
    ConsolePiece piece;
    piece.text = text;
    if (wrap && columns > 0) {
        std::int32_t room = std::max<std::int32_t>(0, columns - column);
        if (text.size() > static_cast<std::size_t>(room)) {
            piece.rest = text.substr(static_cast<std::size_t>(room));
            piece.text = text.substr(0, static_cast<std::size_t>(room));
            piece.cut = true;
        }
    }
    if (ending == ConsoleEndSpace) {
        piece.text += ' ';
    }
    return piece;
}
