// The scan-code table, taken from the key table's scan-code and key-code columns.
#include "platform/input/ScanCodeTable.h"

#include "platform/input/KeyTable.h"

namespace tamtara {

namespace {

constexpr std::array<std::uint8_t, 256> BuildTable() {
    std::array<std::uint8_t, 256> table{};
    for (const KeyRow& row : KeyRows)
        if (row.KeyCode) table[row.ScanCode] = row.KeyCode;
    return table;
}

// Rows sharing a scan code must agree on its key code, or the table would depend on row order.
constexpr bool ScanCodesAgree() {
    const std::array<std::uint8_t, 256> table = BuildTable();
    for (const KeyRow& row : KeyRows)
        if (row.KeyCode != table[row.ScanCode]) return false;
    return true;
}
static_assert(ScanCodesAgree());

} // namespace

const std::array<std::uint8_t, 256> ScanCodeTable = BuildTable();

} // namespace tamtara
