// The control keywords of CreateByKeyword and the small text rules behind the
// window operations: keyword lookup, style variants, the spin, date and time
// texts, the SetWindowStyle bits and the folder path ending. Pure functions,
// callable on any thread; no Win32 needed, so they build and test natively.
#pragma once

#include <cstdint>
#include <string>

// What CreateByKeyword does beyond creating one control.
enum class ControlKind {
    Plain,          // GR_CREATE_CONTROL only
    Edit,           // negative height: password variant, absolute height
    MultiEdit,      // negative height: no horizontal scroll bar, absolute height
    ScrollBar,      // then range 0 to 100, position 0
    RichEdit,       // rich-edit library first, repaint the parent after
    SpinEdit,       // an "edit" plus an up-down control
    DateEdit,       // text gives the date
    TimeEdit,       // text gives the time
    TabControl,     // GR_CREATE_TAB_CONTROL, one tab holding the text
    TemplateDialog, // "dialog": GR_CREATE_LDIALOG
    DialogWindow,   // "window": as OpenDialogWindow
};

struct ControlKeyword {
    const char *keyword;   // lower case
    const char *className; // null where the kind chooses it
    std::uint32_t style;   // full window style
    std::uint32_t exStyle; // extended window style
    std::uint32_t variant; // style used with a negative height (Edit, MultiEdit)
    ControlKind kind;
};

// The table entry for keyword, compared without regard to ASCII case; null for
// an unknown keyword.
const ControlKeyword *FindControlKeyword(const char *keyword);

// The style of entry for the given height: the variant style when the kind
// has one and the height is negative.
std::uint32_t KeywordStyle(const ControlKeyword &entry, std::int32_t height);

// The number at the start of text read as a signed decimal integer (leading
// blanks and a sign allowed), 0 when there is none; clamped to 32 bits.
std::int32_t LeadingInteger(const std::string &text);

// Up-down settings of "spinedit": position, minimum, maximum, in that order in
// text separated by ";"; parts that are missing or empty keep their defaults.
struct SpinRange {
    std::int32_t position = 0;
    std::int32_t minimum = -32767;
    std::int32_t maximum = 32767;
};
SpinRange ParseSpinText(const std::string &text);

// Calendar fields read from a "dateedit" or "timeedit" text.
struct DateFields {
    std::int32_t year = 0, month = 0, day = 0;
};
// Splits text at separator; the first three parts fill the fields in the order
// of the locale's date order (0 month-day-year, 1 day-month-year, 2
// year-month-day). False for any other order: the date stays unset. Missing
// parts give 0.
bool ParseDateText(const std::string &text, const std::string &separator, int order, DateFields &date);

struct TimeFields {
    std::int32_t hour = 0, minute = 0, second = 0;
};
// Splits text at ":" into up to three numbers; the fields of missing parts keep
// the values already in time.
void ParseTimeText(const std::string &text, TimeFields &time);

// The main window's frame style chosen by SetWindowStyle and the option flags
// that come with it.
struct FrameChoice {
    std::uint32_t style;
    std::uint32_t exStyle;
    bool noMenu;
    bool screenBackground;
    bool dialogMode;
};
// style starts as 0x2000, then every bit of bits adds its part; exStyle is the
// current extended style, from which bit 0x40 removes WS_EX_WINDOWEDGE.
FrameChoice FrameStyleForBits(std::uint32_t bits, std::uint32_t exStyle);

// path with a backslash appended unless it already ends in one ("" gives "\").
std::string WithTrailingBackslash(const std::string &path);
