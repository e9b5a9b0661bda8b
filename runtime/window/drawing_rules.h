// The small rules behind the drawing operations: colour values, bitmap names,
// raster operations and how console text is cut into lines. Pure functions,
// callable on any thread; no Win32 needed, so they build and test natively.
#pragma once

#include <cstdint>
#include <string>

// A 15-bit colour (red bits 0-4, green 5-9, blue 10-14) as a COLORREF value
// (red in the low byte): each 5-bit part times 8.226, truncated (31 -> 255).
std::uint32_t ColourFrom15Bit(std::uint32_t value);

// True when name is one or more decimal digits only: such a bitmap name is a
// numeric resource id.
bool IsNumericName(const char *name);
// The resource id of a numeric name: its value, low 16 bits.
std::uint16_t NumericNameId(const char *name);

// Raster operations of DrawBitmap.
constexpr std::uint32_t RopSrcCopy = 0xCC0020;
constexpr std::uint32_t RopSrcAnd = 0x8800C6;
constexpr std::uint32_t RopSrcPaint = 0xEE0086;
constexpr std::uint32_t RopSrcInvert = 0x660046;
constexpr std::uint32_t RopDstInvert = 0x550009;
// The mode that draws through DrawTransparent instead of a raster operation.
constexpr std::int32_t TransparentMode = -1;
// The raster operation of a DrawBitmap mode: 1 AND, 2 OR, 3 XOR, 4 invert the
// destination, anything else (the transparent mode included) plain copy.
std::uint32_t RasterOperationOfMode(std::int32_t mode);

// The console's line endings.
enum ConsoleEnding : std::int32_t { ConsoleEndSpace = 0, ConsoleEndNothing = 1, ConsoleEndNewLine = 2 };

// The text with every LF and every CR removed.
std::string WithoutLineBreaks(std::string text);

// One console write: what goes onto the current line, whether the line is
// full (cut) and what is left for the following lines.
struct ConsolePiece {
    std::string text; // written at the current column; the ending's space included
    bool cut = false; // the text was longer than the room on the line
    std::string rest; // printed afterwards, the same way
};

// Splits text (without line breaks) for a line of `columns` characters whose
// cursor stands at `column`. With wrap set, a text longer than the room left
// on the line is cut to the room. Ending 0 appends one space. A line without
// room (columns of 0, or a column at or past the end) takes nothing and passes
// the whole text on, so that repeated calls always make progress; with no
// columns at all nothing is cut.
ConsolePiece NextConsolePiece(const std::string &text, std::int32_t ending, bool wrap, std::int32_t columns,
                              std::int32_t column);
