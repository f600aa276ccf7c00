#pragma once

#include <cstddef>
#include <cstdint>

// Checks that a binary resource bundle (the toolkit's "qres" format) is whole
// before the toolkit is allowed to read it: the toolkit trusts the offsets
// inside a bundle, so a truncated or damaged file would make it read outside
// the buffer. Every node of the tree, every name and every data block reached
// from the root must lie inside the buffer, and the tree must be a tree.
bool IsWholeRccBundle(const uint8_t* data, size_t size);
