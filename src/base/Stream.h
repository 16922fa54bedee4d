// Byte streams shared by the package reader, the bitmap loader and the MIDI reader:
// a seekable stream interface with a memory and a file implementation.
#pragma once

#include <cstdint>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

namespace tamtara {

// Raised when a stream cannot deliver the bytes asked for, or a file cannot be opened.
class EStreamError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum class SeekOrigin { Begin, Current, End };

class TStream {
public:
    virtual ~TStream() = default;
    // Reads up to count bytes; returns how many were read (less only at the end of the stream).
    virtual std::size_t Read(void* buffer, std::size_t count) = 0;
    virtual std::size_t Write(const void* buffer, std::size_t count) = 0;
    // Returns the new position; positions are clamped to 0 but may lie past the end.
    virtual std::int64_t Seek(std::int64_t offset, SeekOrigin origin) = 0;
    virtual std::int64_t Size() const = 0;

    std::int64_t Position() { return Seek(0, SeekOrigin::Current); }
    void SetPosition(std::int64_t position) { Seek(position, SeekOrigin::Begin); }
    bool AtEnd() { return Position() >= Size(); }
    // Reads exactly count bytes or raises "Stream read error".
    void ReadBuffer(void* buffer, std::size_t count);
    void WriteBuffer(const void* buffer, std::size_t count);
    // Copies count bytes (all remaining bytes when count is 0) from source at its position.
    std::int64_t CopyFrom(TStream& source, std::int64_t count);
    // The stream's whole content, from its beginning, whatever its current position.
    std::vector<std::uint8_t> ReadAll();
};

class TMemoryStream : public TStream {
public:
    TMemoryStream() = default;
    explicit TMemoryStream(std::vector<std::uint8_t> bytes) : Bytes(std::move(bytes)) {}

    std::size_t Read(void* buffer, std::size_t count) override;
    std::size_t Write(const void* buffer, std::size_t count) override;
    std::int64_t Seek(std::int64_t offset, SeekOrigin origin) override;
    std::int64_t Size() const override { return static_cast<std::int64_t>(Bytes.size()); }

    const std::vector<std::uint8_t>& Data() const { return Bytes; }
    std::vector<std::uint8_t>& Data() { return Bytes; }
    void SetSize(std::size_t size) { Bytes.resize(size); }
    // The content as text, one element per line; CR LF, LF and CR all end a line.
    std::vector<std::string> Lines() const;

private:
    std::vector<std::uint8_t> Bytes;
    std::int64_t Cursor = 0;
};

enum class FileMode { OpenRead, Create };

class TFileStream : public TStream {
public:
    // Raises EStreamError "Cannot open file "<path>"" when the file cannot be opened or is no
    // regular file (a named pipe, socket, device or folder is refused at once, never waited on).
    TFileStream(const std::string& path, FileMode mode = FileMode::OpenRead);
    ~TFileStream() override;
    TFileStream(const TFileStream&) = delete;
    TFileStream& operator=(const TFileStream&) = delete;

    std::size_t Read(void* buffer, std::size_t count) override;
    std::size_t Write(const void* buffer, std::size_t count) override;
    std::int64_t Seek(std::int64_t offset, SeekOrigin origin) override;
    std::int64_t Size() const override;
    const std::string& Path() const { return FilePath; }

private:
    std::FILE* File = nullptr;
    std::string FilePath;
    bool Writable = false;
};

// Reads a whole file into memory; raises EStreamError when it cannot be opened or read.
std::vector<std::uint8_t> ReadFileBytes(const std::string& path);

} // namespace tamtara
