#pragma once

// Puts a copy of `source` in place of `target` in one rename: the new copy is written
// beside the target first, so that a failure leaves the old file whole. False when the
// target is read-only or in use; the source is never touched.
bool ReplaceFileWhole(const char* source, const char* target);

// Creates the folders of `relativePath` (all but its last element) under `root`, which ends
// in a backslash and must exist. False when one cannot be made.
bool MakeParentFolders(const char* root, const char* relativePath);
