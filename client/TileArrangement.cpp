#include "client/TileArrangement.h"

#include <utility>

#include "client/DefaultModuleTable.h"
#include "client/SignInState.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/UserDefaults.h"

TileArrangement::TileArrangement() = default;

TileArrangement::TileArrangement(SignInSession session) : m_session(std::move(session)) {}

TileArrangement::Stored TileArrangement::stored() const {
    const TileListKeys keys = m_session.tileListKeys();
    if (!keys.shown)
        return {};
    const auto& defaults = m_session.defaults();
    return {storedTileList(defaults, keys.shown), storedTileList(defaults, keys.hidden)};
}

TileArrangement::Lists TileArrangement::load() const {
    Stored lists = stored();
    const bool hasTiles =
        (lists.shown && !lists.shown->empty()) || (lists.hidden && !lists.hidden->empty());
    if (!hasTiles)
        return {DefaultModuleTable::tiles(), {}, false};
    return {lists.shown.value_or(TileList{}), lists.hidden.value_or(TileList{}), true};
}

void TileArrangement::store(const TileList& shown, const TileList& hidden) {
    const TileListKeys keys = m_session.arrangementKeys();
    auto& defaults = m_session.defaults();
    defaults.setData(archiveTileList(shown), keys.shown);
    defaults.setData(archiveTileList(hidden), keys.hidden);
    defaults.synchronize();
    m_session.center().post(SignInNotification::kRefreshLoginMenu);
}
