#include "database/Statement.h"

#include <sqlite3.h>

#include <utility>

namespace tamtara {

void CheckSqlite(sqlite3* connection, int code, const char* doing) {
    if (code == SQLITE_OK) return;
    const char* message = connection ? sqlite3_errmsg(connection) : sqlite3_errstr(code);
    throw EDatabaseError(std::string(doing) + ": " + message, code & 0xFF);
}

TStatement::TStatement(sqlite3* connection, const char* sql) : Connection(connection) {
    CheckSqlite(connection,
                sqlite3_prepare_v3(connection, sql, -1, SQLITE_PREPARE_PERSISTENT, &Handle, nullptr),
                "prepare");
}

TStatement::~TStatement() {
    sqlite3_finalize(Handle);
}

TStatement::TStatement(TStatement&& other) noexcept
    : Connection(other.Connection), Handle(std::exchange(other.Handle, nullptr)) {}

TStatement& TStatement::operator=(TStatement&& other) noexcept {
    if (this != &other) {
        sqlite3_finalize(Handle);
        Connection = other.Connection;
        Handle = std::exchange(other.Handle, nullptr);
    }
    return *this;
}

TStatement& TStatement::Bind(int index, std::int64_t value) {
    CheckSqlite(Connection, sqlite3_bind_int64(Handle, index, value), "bind");
    return *this;
}

TStatement& TStatement::Bind(int index, std::string_view text) {
    CheckSqlite(Connection,
                sqlite3_bind_text64(Handle, index, text.data(), text.size(), SQLITE_TRANSIENT, SQLITE_UTF8),
                "bind");
    return *this;
}

TStatement& TStatement::BindBlob(int index, std::span<const std::uint8_t> bytes) {
    // A zero-length blob is still a blob, not NULL.
    static const std::uint8_t empty = 0;
    CheckSqlite(Connection,
                sqlite3_bind_blob64(Handle, index, bytes.empty() ? &empty : bytes.data(), bytes.size(),
                                    SQLITE_TRANSIENT),
                "bind");
    return *this;
}

bool TStatement::Step() {
    const int code = sqlite3_step(Handle);
    if (code == SQLITE_ROW) return true;
    if (code == SQLITE_DONE) return false;
    // The statement must be reset before the connection's message is reliable for every code.
    const std::string message = sqlite3_errmsg(Connection);
    sqlite3_reset(Handle);
    throw EDatabaseError("step: " + message, code & 0xFF);
}

void TStatement::Run() {
    while (Step()) {
    }
}

void TStatement::Reset() {
    sqlite3_reset(Handle);
    sqlite3_clear_bindings(Handle);
}

std::int64_t TStatement::Int(int column) const {
    return sqlite3_column_int64(Handle, column);
}

double TStatement::Real(int column) const {
    return sqlite3_column_double(Handle, column);
}

std::string TStatement::Text(int column) const {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(Handle, column));
    return text ? std::string(text, static_cast<std::size_t>(sqlite3_column_bytes(Handle, column)))
                : std::string();
}

std::span<const std::uint8_t> TStatement::Blob(int column) const {
    const auto* bytes = static_cast<const std::uint8_t*>(sqlite3_column_blob(Handle, column));
    const int count = sqlite3_column_bytes(Handle, column);
    if (!bytes || count <= 0) return {};
    return {bytes, static_cast<std::size_t>(count)};
}

bool TStatement::IsNull(int column) const {
    return sqlite3_column_type(Handle, column) == SQLITE_NULL;
}

} // namespace tamtara
