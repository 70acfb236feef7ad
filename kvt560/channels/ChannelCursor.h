#pragma once
// Where editing of the channel table stands: the row and column the grid's commands act on,
// the row the tone list writes into and whether the next cell entry flips a mark. The channel
// editor of the grid owns it; the single-channel page and the list operations share it.
struct ChannelCursor {
    int CurRow = 1;           // the channel row editing acts on (1-128)
    int CurCol = 1;           // the column last clicked or implied by the focused editor
    int ToneRow = 1;          // the row the tone-list overlay writes into
    bool SkipToggle = false;  // the next cell entry selects without flipping a mark
};
