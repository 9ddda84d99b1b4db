#pragma once

namespace platform::components {

// Idle: at rest, or dragged less than the threshold. Pulling: dragged past the threshold;
// lifting the finger now starts a refresh. WillRefresh: asked to refresh before the scroll
// view was in a window; it starts when the view joins one. Refreshing: the callback ran or
// is about to, and the control stays in view until the refresh ends.
enum class RefreshState { Idle, Pulling, WillRefresh, Refreshing };

}  // namespace platform::components
