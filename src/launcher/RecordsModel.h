// The records page's table: every song played with its play count, its practice count apart,
// best rank and score and the date it was last played; sortable on every column, a chosen row
// staying chosen through a sort.
#pragma once

#include "records/PlayRecord.h"

#include <QAbstractTableModel>

#include <vector>

namespace tamtara {

class TRecordsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column {
        TitleColumn,
        PlaysColumn,
        PracticesColumn,
        RankColumn,
        ScoreColumn,
        LastPlayedColumn,
        ColumnCount
    };

    using QAbstractTableModel::QAbstractTableModel;

    // Replaces the rows, kept in the order last sorted by.
    void SetSongs(std::vector<SongSummary> songs);
    // The song on a row; null outside the rows.
    const SongSummary* SongAt(int row) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    // Ranks sort from S down to E, songs without a rank last; dates and numbers by value. The
    // views' chosen and current rows move with their songs.
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

private:
    // The rows in the order sorted by; returns each song's new row, by its old row.
    std::vector<int> SortRows();

    std::vector<SongSummary> Songs;
    int SortColumn = LastPlayedColumn;
    Qt::SortOrder Order = Qt::DescendingOrder;
};

} // namespace tamtara
