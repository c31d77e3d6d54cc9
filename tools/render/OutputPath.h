// SPDX-License-Identifier: GPL-3.0-or-later
// Where pictures may go. The tool writes a PNG beside its target and renames
// it over the target, which would silently swap a device node, a FIFO or a
// link for a plain file: so only regular files are ever replaced, a symbolic
// link is written through to the file it names, and everything else is
// refused before any drawing starts (and checked again at each write).
#pragma once

#include <string>

namespace render {

// "a folder", "a FIFO (named pipe)", "a character device"... for a
// st_mode that is not a regular file.
std::string DescribeFileKind(unsigned mode);

// The path --out writes to: the path itself, or the file a symbolic link
// leads to. Throws a run-time error when what is there is not a regular
// file, the link leads nowhere, or the folder is missing or not writable.
std::string ResolveOutputFile(const std::string& path);

// Throws a run-time error when `path` exists and is anything but a regular
// file (links included: they are resolved beforehand).
void CheckReplaceable(const std::string& path);

// True for the names a sequence writes: frame-*.png.
bool IsSequenceFrameName(const std::string& name);

// Makes the --out-dir folder (and its parents) when missing. Frames of an
// earlier sequence in it (frame-*.png) are removed when `overwrite`, and
// refused otherwise, so that a shorter run never leaves stale frames behind
// its own. Throws a run-time error when the folder cannot be made or
// written, is not a folder, or holds a frame name that is not a file.
void PrepareOutputFolder(const std::string& folder, bool overwrite);

}  // namespace render
