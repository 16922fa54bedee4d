// One prepared SQLite statement, finalised when it goes; and the error every database call throws.
#pragma once

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace tamtara {

class EDatabaseError : public std::runtime_error {
public:
    EDatabaseError(const std::string& what, int code) : std::runtime_error(what), Code(code) {}
    // SQLite's primary result code (SQLITE_BUSY, SQLITE_CORRUPT, ...).
    int Code;
};

// Throws EDatabaseError with the connection's message when code is not SQLITE_OK.
void CheckSqlite(sqlite3* connection, int code, const char* doing);

class TStatement {
public:
    TStatement(sqlite3* connection, const char* sql);
    ~TStatement();
    TStatement(TStatement&& other) noexcept;
    TStatement& operator=(TStatement&& other) noexcept;
    TStatement(const TStatement&) = delete;
    TStatement& operator=(const TStatement&) = delete;

    // Parameters count from 1, as in the SQL's "?" order.
    TStatement& Bind(int index, std::int64_t value);
    TStatement& Bind(int index, std::string_view text);
    TStatement& BindBlob(int index, std::span<const std::uint8_t> bytes);
    // True while there is a row; false once done. Throws on an error.
    bool Step();
    // Runs a statement that returns no rows.
    void Run();
    // Back to the start with its bindings cleared, ready for the next use.
    void Reset();

    // Columns count from 0.
    std::int64_t Int(int column) const;
    double Real(int column) const;
    std::string Text(int column) const;
    std::span<const std::uint8_t> Blob(int column) const;
    bool IsNull(int column) const;

private:
    sqlite3* Connection = nullptr;
    sqlite3_stmt* Handle = nullptr;
};

} // namespace tamtara
