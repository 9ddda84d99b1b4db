#pragma once

#include <optional>

#include "client/CollectionViewCellModel.h"
#include "client/SignInSession.h"

// The signed-in user's arrangement of home tiles: which are shown on the grid, in order, and
// which are put aside. The home grid, the tile editor and the side menu read and write it here,
// so all of them agree on the keys (those of the session's kind) and on the fallback (the
// default tiles).
class TileArrangement {
public:
    // One arrangement. The add-more tile does not belong in it: the grid appends its own.
    struct Lists {
        TileList shown;
        TileList hidden;
        // True when these are the stored lists; false when the default tiles stand in.
        bool fromStore{false};
    };

    // The lists as stored, each absent when missing or unreadable.
    struct Stored {
        std::optional<TileList> shown;
        std::optional<TileList> hidden;
    };

    // The arrangement of the user that a default SignInSession describes.
    TileArrangement();
    explicit TileArrangement(SignInSession session);

    // What is stored under the kind's keys; both absent for a user of neither kind.
    Stored stored() const;
    // The arrangement to show and to edit: the stored lists when either of them holds a tile
    // (an unreadable list counts as empty); otherwise every tile of DefaultModuleTable shown,
    // in table order, and none hidden.
    Lists load() const;
    // Writes both lists under the session's arrangementKeys(), synchronises, then posts
    // "kRefreshLoginMenu" so the grid rebuilds from what was just written.
    void store(const TileList& shown, const TileList& hidden);

private:
    SignInSession m_session;
};
