// The records table model.
#include "launcher/RecordsModel.h"

#include <QDateTime>
#include <QString>

#include <algorithm>

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
    static const char* const Headers[ColumnCount] = {"曲名", "回数", "ランク", "ベスト", "最終プレイ"};
    return section >= 0 && section < ColumnCount ? QString(Headers[section]) : QVariant();
}

void TRecordsModel::sort(int column, Qt::SortOrder order) {
    emit layoutAboutToBeChanged();
    SortColumn = column;
    Order = order;
    SortRows();
    emit layoutChanged();
}

void TRecordsModel::SortRows() {
    std::stable_sort(Songs.begin(), Songs.end(), [this](const SongSummary& a, const SongSummary& b) {
        const int c = Compare(a, b, SortColumn);
        return Order == Qt::AscendingOrder ? c < 0 : c > 0;
    });
}

} // namespace tamtara
