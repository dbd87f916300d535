#pragma once

// Puts a copy of `source` in place of `target` in one rename: the new copy is written
// beside the target first, so that a failure leaves the old file whole. False when the
// target is read-only or in use; the source is never touched.
bool ReplaceFileWhole(const char* source, const char* target);
