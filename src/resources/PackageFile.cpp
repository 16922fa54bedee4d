// Package directory reading and entry lookup.
#include "resources/PackageFile.h"

#include "base/UserMessage.h"
#include "resources/PackageError.h"
#include "resources/PackageName.h"

#include <algorithm>
#include <cstring>

namespace tamtara {

namespace {

std::int32_t GetInt32(const std::uint8_t* bytes) {
    std::uint32_t u = static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
                      static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
    return static_cast<std::int32_t>(u);
}

PackageEntry ParseRecord(const std::uint8_t* record) {
    PackageEntry entry;
    entry.Name.assign(reinterpret_cast<const char*>(record + 1), record[0]);
    entry.Offset = GetInt32(record + PackageNameFieldSize);
    entry.Size = GetInt32(record + PackageNameFieldSize + 4);
    return entry;
}

} // namespace

TReadPackageFile::~TReadPackageFile() {
    Close();
}

void TReadPackageFile::OpenFile(const std::string& fileName) {
    Close();
    std::unique_ptr<TStream> file;
    try {
        file = std::make_unique<TFileStream>(fileName, FileMode::OpenRead);
    } catch (const EStreamError&) {
        return; // a missing package shows up when its entries are looked up
    }
    OwnedStream = std::move(file);
    LoadDirectory(*OwnedStream);
}

void TReadPackageFile::OpenStream(TStream& stream) {
    Close();
    LoadDirectory(stream);
}

void TReadPackageFile::Close() {
    Stream = nullptr;
    OwnedStream.reset();
    Count = 0;
    DirectoryTruncated = false;
}

void TReadPackageFile::RejectHeader() {
    Close();
    ShowUserMessage(MessageKind::Warning, "TReadPackageFile.OpenStream",
                    "ヘッダエラー。データ形式が違います。");
}

void TReadPackageFile::LoadDirectory(TStream& stream) {
    Stream = &stream;
    std::int64_t base = stream.Position();
    std::uint8_t header[PackageHeaderSize] = {};
    if (stream.Read(header, sizeof header) != sizeof header ||
        !std::equal(PackageMagic.begin(), PackageMagic.end(), header)) {
        RejectHeader();
        return;
    }
    auto count = static_cast<std::int16_t>(header[12] | header[13] << 8);
    if (count < 0) { // the format allows 0 to 32767 records
        RejectHeader();
        return;
    }

    std::vector<std::uint8_t> directory(static_cast<std::size_t>(count) * PackageRecordSize, 0);
    std::size_t got = stream.Read(directory.data(), directory.size());
    // Records cut off by the end of the file keep the zeros they were given (empty name, empty
    // entry), and no entry can be reached: the data area would start past the end.
    DirectoryTruncated = got < directory.size();

    Records.resize(static_cast<std::size_t>(count));
    UpperNames.resize(static_cast<std::size_t>(count));
    for (std::size_t i = 0; i < Records.size(); ++i) {
        Records[i] = ParseRecord(directory.data() + i * PackageRecordSize);
        UpperNames[i] = UpperCasePackageName(Records[i].Name);
    }
    Count = count;
    DataStartPosition = base + PackageHeaderSize + static_cast<std::int64_t>(count) * PackageRecordSize;
    StreamSize = stream.Size();
}

int TReadPackageFile::FindEntry(const std::string& name) const {
    std::string wanted = UpperCasePackageName(name);
    int found = -1;
    for (int i = 0; i < Count; ++i)
        if (UpperNames[static_cast<std::size_t>(i)] == wanted) found = i; // the last match wins
    return found;
}

std::int64_t TReadPackageFile::EntryStart(int index) const {
    const PackageEntry& entry = Records[static_cast<std::size_t>(index)];
    if (DirectoryTruncated)
        throw EPackageError("Package directory is cut off by the end of the file; cannot read \"" +
                            entry.Name + "\"");
    std::int64_t start = DataStartPosition + entry.Offset;
    if (entry.Offset < 0 || entry.Size < 0 || start + entry.Size > StreamSize)
        throw EPackageError("Package entry \"" + entry.Name + "\" (offset " + std::to_string(entry.Offset) +
                            ", size " + std::to_string(entry.Size) + ") lies outside the package file");
    return start;
}

TStream* TReadPackageFile::SeekEntry(const std::string& name) {
    int index = FindEntry(name);
    if (index < 0) return nullptr;
    Stream->Seek(EntryStart(index), SeekOrigin::Begin);
    return Stream;
}

std::unique_ptr<TMemoryStream> TReadPackageFile::ReadEntry(const std::string& name) {
    int index = FindEntry(name);
    if (index < 0) return nullptr;
    std::int64_t start = EntryStart(index);
    std::int64_t saved = Stream->Position();

    auto copy = std::make_unique<TMemoryStream>();
    copy->SetSize(static_cast<std::size_t>(Records[static_cast<std::size_t>(index)].Size));
    Stream->Seek(start, SeekOrigin::Begin);
    std::size_t got = Stream->Read(copy->Data().data(), copy->Data().size());
    Stream->Seek(saved, SeekOrigin::Begin);
    if (got != copy->Data().size()) throw EStreamError("Stream read error");
    return copy;
}

} // namespace tamtara
