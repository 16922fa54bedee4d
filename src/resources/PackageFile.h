// TReadPackageFile: reads the directory of a package file and hands out its entries, either as
// the package's own stream positioned at an entry or as a memory copy of one entry.
#pragma once

#include "base/Stream.h"
#include "resources/PackageFormat.h"

#include <memory>
#include <string>
#include <vector>

namespace tamtara {

class TReadPackageFile {
public:
    TReadPackageFile() = default;
    ~TReadPackageFile();
    TReadPackageFile(const TReadPackageFile&) = delete;
    TReadPackageFile& operator=(const TReadPackageFile&) = delete;

    // Opens the file with shared reading; a file that cannot be opened leaves the reader
    // closed without any message.
    void OpenFile(const std::string& fileName);
    // Reads the header and directory from the stream's current position. A bad header shows
    // the header warning and leaves the reader closed. The reader does not own stream.
    void OpenStream(TStream& stream);
    void Close();

    // Index of the last record whose name equals name without regard to case, or -1.
    int FindEntry(const std::string& name) const;
    // The reader's own stream at the entry's first byte (the reader keeps it), or null when
    // the name is absent. Raises EPackageError when the entry lies outside the package.
    TStream* SeekEntry(const std::string& name);
    // A new memory stream holding exactly the entry, at position 0, or null when the name is
    // absent; the reader's stream position is unchanged. Raises EPackageError when the entry
    // lies outside the package.
    std::unique_ptr<TMemoryStream> ReadEntry(const std::string& name);

    bool IsOpen() const { return Stream != nullptr; }
    TStream* GetStream() const { return Stream; }
    bool OwnsStream() const { return OwnedStream != nullptr; }
    std::int64_t DataStart() const { return DataStartPosition; }
    std::int16_t EntryCount() const { return Count; }
    // The directory records of the last successful open, in file order; only the first
    // EntryCount() are current.
    const std::vector<PackageEntry>& Entries() const { return Records; }

private:
    void LoadDirectory(TStream& stream);
    void RejectHeader();
    // Absolute position of the entry's first byte, after checking it lies in the package.
    std::int64_t EntryStart(int index) const;

    TStream* Stream = nullptr;
    std::unique_ptr<TStream> OwnedStream;
    std::int64_t DataStartPosition = 0;
    std::int64_t StreamSize = 0;
    std::int16_t Count = 0;
    bool DirectoryTruncated = false;
    std::vector<PackageEntry> Records;
    std::vector<std::string> UpperNames;
};

} // namespace tamtara
