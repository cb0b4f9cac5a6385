#pragma once
// What a log writer does to its file, each done for real with system calls so
// that a follower in another process sees exactly what it would see from a
// logging program or a rotation tool. Every action returns an empty string on
// success and a short reason otherwise.

#include <cstdint>
#include <string>

namespace testwriter {

// Appends the bytes, creating the file when it is missing.
std::string AppendBytes(const std::string& path, const std::string& bytes);
// Appends the bytes in writes of `pieceSize` bytes, `pauseMs` apart, so that a
// follower polling meanwhile sees the text arrive in parts.
std::string AppendInPieces(const std::string& path, const std::string& bytes, std::size_t pieceSize,
                           unsigned pauseMs);
// Writes the bytes where the trailing NUL bytes start (at a multiple of
// `unitSize`), as a writer that preallocated its file does.
std::string OverwriteTrailingNuls(const std::string& path, const std::string& bytes,
                                  std::size_t unitSize);
std::string AppendNuls(const std::string& path, std::size_t count);
// Appends `count` bytes of a fixed pseudo-random sequence chosen by `seed`.
std::string AppendJunk(const std::string& path, std::size_t count, std::uint32_t seed);
// Cuts the file in place, keeping its identity (the copytruncate way).
std::string Truncate(const std::string& path, std::uint64_t size);
// Copies the file to PATH.1, then cuts it to nothing.
std::string CopyTruncate(const std::string& path);
// Renames the file to PATH.1 (replacing it) and creates a new empty PATH.
std::string Rotate(const std::string& path);
// Writes the bytes to a new file and renames it over PATH in one step.
std::string Replace(const std::string& path, const std::string& bytes);
std::string Delete(const std::string& path);
// Creates PATH empty when it is missing; an existing file is left alone.
std::string Create(const std::string& path);
std::string MakeDirectory(const std::string& path);
std::string ChangeMode(const std::string& path, unsigned mode);
void Pause(unsigned ms);

}  // namespace testwriter
