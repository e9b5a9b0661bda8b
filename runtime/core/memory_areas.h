// Memory areas: zero-filled byte blocks that the application allocates into
// its own `char *` variables and frees again. A registry remembers which block
// each variable was last given and how large every block is. Script thread only.
#pragma once

#include <cstdint>

// Allocates n zero bytes (none for n <= 0, the block still has its own
// address), frees the block the registry holds for *var, and stores the new
// block in *var. The registry owns the block until DisposeArea.
void DimArea(char **var, std::int32_t n);
// Frees the block the registry holds for *var, if any, and sets *var to null.
void DisposeArea(char **var);
// The capacity of a block given out by DimArea; 0 for any other address.
std::int32_t AreaSize(const void *block);
// Forgets every record without freeing the blocks (core teardown).
void ClearAreaRegistry();
