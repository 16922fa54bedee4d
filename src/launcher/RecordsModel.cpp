// The records table model.
#include "launcher/RecordsModel.h"

#include <QDateTime>
#include <QString>

#include <algorithm>
#include <numeric>

namespace tamtara {

namespace {

// S first (0) to E (5); no rank after all of them.
int RankOrder(const std::string& rank) {
    static const std::string Ranks = "SABCDE";
    const auto at = rank.empty() ? std::string::npos : Ranks.find(rank[0]);
    return at == std::string::npos ? 6 : static_cast<int>(at);
}

// Negative, zero or positive as a comes before, with or after b in ascending order.
int Compare(const SongSummary& a, const SongSummary& b, int column) {
    const auto three = [](auto x, auto y) { return x < y ? -1 : y < x ? 1 : 0; };
    switch (column) {
    case TRecordsModel::TitleColumn:
        return QString::localeAwareCompare(QString::fromStdString(a.Song.Title),
                                           QString::fromStdString(b.Song.Title));
    case TRecordsModel::PlaysColumn:
        return three(a.Best.Plays, b.Best.Plays);
    case TRecordsModel::PracticesColumn:
        return three(a.Best.PracticePlays, b.Best.PracticePlays);
    // Ascending runs from the best rank down.
    case TRecordsModel::RankColumn:
        return three(RankOrder(a.Best.BestRank), RankOrder(b.Best.BestRank));
    case TRecordsModel::ScoreColumn:
        return three(a.Best.BestScore, b.Best.BestScore);
    default:
        return three(a.Best.LastPlayedAt, b.Best.LastPlayedAt);
    }
}

} // namespace

void TRecordsModel::SetSongs(std::vector<SongSummary> songs) {
    beginResetModel();
    Songs = std::move(songs);
    SortRows();
    endResetModel();
}

const SongSummary* TRecordsModel::SongAt(int row) const {
    return row >= 0 && row < static_cast<int>(Songs.size()) ? &Songs[static_cast<std::size_t>(row)] : nullptr;
}

int TRecordsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(Songs.size());
}

int TRecordsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant TRecordsModel::data(const QModelIndex& index, int role) const {
    const SongSummary* song = SongAt(index.row());
    if (!song) return {};
    if (role == Qt::TextAlignmentRole)
        return index.column() == TitleColumn ? QVariant() : QVariant(Qt::AlignRight | Qt::AlignVCenter);
    const QDateTime lastPlayed = QDateTime::fromSecsSinceEpoch(song->Best.LastPlayedAt);
    // The day fits the page's width; the time is in the tooltip.
    if (role == Qt::ToolTipRole && index.column() == LastPlayedColumn)
        return lastPlayed.toString("yyyy/MM/dd HH:mm");
    if (role != Qt::DisplayRole) return {};
    switch (index.column()) {
    case TitleColumn:
        return QString::fromStdString(song->Song.Title);
    case PlaysColumn:
        return song->Best.Plays;
    case PracticesColumn:
        return song->Best.PracticePlays;
    case RankColumn:
        return QString::fromStdString(song->Best.BestRank.empty() ? "-" : song->Best.BestRank);
    case ScoreColumn:
        return song->Best.BestScore;
    case LastPlayedColumn:
        return lastPlayed.toString("yy/MM/dd");
    default:
        return {};
    }
}

QVariant TRecordsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    static const char* const Headers[ColumnCount] = {"曲名",   "回数",   "練習",
                                                     "ランク", "ベスト", "最終プレイ"};
    return section >= 0 && section < ColumnCount ? QString(Headers[section]) : QVariant();
}

void TRecordsModel::sort(int column, Qt::SortOrder order) {
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    SortColumn = column;
    Order = order;
    const std::vector<int> newRow = SortRows();
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    for (const QModelIndex& index : before)
        after.push_back(index.isValid()
                            ? this->index(newRow[static_cast<std::size_t>(index.row())], index.column())
                            : index);
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

std::vector<int> TRecordsModel::SortRows() {
    std::vector<int> order(Songs.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [this](int a, int b) {
        const int c =
            Compare(Songs[static_cast<std::size_t>(a)], Songs[static_cast<std::size_t>(b)], SortColumn);
        return Order == Qt::AscendingOrder ? c < 0 : c > 0;
    });
    std::vector<SongSummary> sorted;
    sorted.reserve(Songs.size());
    std::vector<int> newRow(Songs.size());
    for (std::size_t row = 0; row < order.size(); ++row) {
        newRow[static_cast<std::size_t>(order[row])] = static_cast<int>(row);
        sorted.push_back(std::move(Songs[static_cast<std::size_t>(order[row])]));
    }
    Songs = std::move(sorted);
    return newRow;
}

} // namespace tamtara
