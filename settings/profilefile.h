#pragma once

// The profile functions of settings/profile.h over a settings file on disk, as Windows'
// GetPrivateProfileString and WritePrivateProfileString read and write it (settings/profiletext.h).
// A read takes the whole file under a shared advisory lock and never fails: anything it cannot
// read counts as a missing key. A write is one read-modify-write under an exclusive lock, so that
// several running copies of the program sharing one file never lose each other's keys; a write that
// cannot be done leaves the file as it was. A file without any write permission bit is never
// written, not even by the superuser, and a write that changes nothing counts as written. The
// POSIX file facts that the choice of a per-user file needs (settings/inipath.h: refusesWrites,
// pathExists, copyToNewFile) live here too, beside the temporary files they share.
//
// How a write stores the new content:
// - Atomically where it can: a temporary file ".NAME.XXXXXX" in the same folder is written,
//   flushed and renamed over the file, keeping its permission bits and group. A crash leaves
//   either the old or the new file.
// - In place when a rename would change what the file is (it has more than one link, belongs to
//   another user, or its group cannot be kept) or when no temporary file can be made or renamed
//   (folder not writable, name too long, another user's file in a sticky folder, full disk).
//   The blocks for the new size are reserved first, so a full disk leaves the file untouched;
//   then the whole content is written at once and flushed, and the file is shortened only when
//   the content got shorter. A crash or power loss during that write can leave a mix of old and
//   new bytes: that is the in-place path's crash window.
// Temporary files of the file's own pattern that crashed writers left behind (regular files
// only; links are never followed) are removed under the lock before each write.

#include <cstddef>

namespace vorlane {

/// Files larger than this are neither read nor rewritten; they count as holding no keys. A
/// write that would make a file larger is not made.
inline constexpr std::size_t MaxProfileFileBytes = 64 * 1024 * 1024;

} // namespace vorlane
