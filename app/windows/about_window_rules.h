// The About window's information text, row by row (pure; no window needed).
#pragma once

// Number of rows (86).
int InfoTextRowCount();
// Row index (0-based) as a zero-terminated code page 1252 text; "" outside.
const char *InfoTextRow(int index);
