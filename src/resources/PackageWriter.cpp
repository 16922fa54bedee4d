// Package image assembly and atomic writing.
#include "resources/PackageWriter.h"

#include "resources/PackageError.h"
#include "resources/PackageFormat.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <limits>

namespace tamtara {

namespace {

void PutInt16(std::vector<std::uint8_t>& out, std::int16_t value) {
    auto u = static_cast<std::uint16_t>(value);
    out.push_back(static_cast<std::uint8_t>(u & 0xFF));
    out.push_back(static_cast<std::uint8_t>(u >> 8));
}

void PutInt32(std::vector<std::uint8_t>& out, std::int32_t value) {
    auto u = static_cast<std::uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<std::uint8_t>((u >> shift) & 0xFF));
}

} // namespace

std::vector<std::uint8_t> BuildPackage(const std::vector<PackageSource>& entries) {
    if (entries.size() > static_cast<std::size_t>(PackageMaxEntries))
        throw EPackageError("A package holds at most 32767 entries, not " + std::to_string(entries.size()));

    std::vector<std::uint8_t> image(PackageMagic.begin(), PackageMagic.end());
    PutInt16(image, static_cast<std::int16_t>(entries.size()));

    std::int64_t offset = 0;
    for (const PackageSource& entry : entries) {
        if (entry.Name.size() > PackageMaxNameLength)
            throw EPackageError("Package entry name longer than 255 bytes: \"" + entry.Name + "\"");
        std::int64_t end = offset + static_cast<std::int64_t>(entry.Bytes.size());
        if (end > std::numeric_limits<std::int32_t>::max())
            throw EPackageError("Package data exceeds 2 GiB at entry \"" + entry.Name + "\"");

        image.push_back(static_cast<std::uint8_t>(entry.Name.size()));
        image.insert(image.end(), entry.Name.begin(), entry.Name.end());
        image.resize(image.size() + (PackageNameFieldSize - 1 - entry.Name.size()), 0);
        PutInt32(image, static_cast<std::int32_t>(offset));
        PutInt32(image, static_cast<std::int32_t>(entry.Bytes.size()));
        offset = end;
    }
    for (const PackageSource& entry : entries)
        image.insert(image.end(), entry.Bytes.begin(), entry.Bytes.end());
    return image;
}

void WritePackage(const std::string& path, const std::vector<PackageSource>& entries) {
    std::vector<std::uint8_t> image = BuildPackage(entries);
    std::string temporary = path + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(image.data()), static_cast<std::streamsize>(image.size()));
        out.close();
        if (!out) {
            std::remove(temporary.c_str());
            throw EPackageError("Cannot write package \"" + path + "\"");
        }
    }
    std::error_code error;
    std::filesystem::rename(temporary, path, error);
    if (error) {
        std::remove(temporary.c_str());
        throw EPackageError("Cannot write package \"" + path + "\": " + error.message());
    }
}

} // namespace tamtara
