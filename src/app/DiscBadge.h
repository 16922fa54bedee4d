// The disc screen's badge of the highlighted song's records: best rank, best score, the number
// of plays and, apart, of practices, on a small dark plate.
#pragma once

#include "platform/display/DisplayTypes.h"
#include "records/PlayRecord.h"

#include <cstdint>

namespace tamtara {

class TDirectDrawSurface;

// Where the badge sits: on the top bar between its caption and its arrows, clear of the titles,
// the tags, the discs and the counter.
inline constexpr TRect DiscBadgeArea{262, 6, 474, 50};

// A song never played shows "未プレイ"; otherwise rank, score, plays and practices (when there
// were any). Releases the canvas.
void DrawDiscBadge(TDirectDrawSurface& back, const TRect& area, const SongBest& best);

} // namespace tamtara
