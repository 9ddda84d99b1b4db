#pragma once

#include <string>

#include "platform/foundation/Json.h"

namespace platform {
class NotificationCenter;
class UserDefaults;
}  // namespace platform

// The kind of user the app service signed in. A user may carry both type keys (a sign-in sets
// one and leaves the other as it stood), so the teacher's is tested first.
enum class UserKind { None, Teacher, Student };

// The two keys under which one kind's tile arrangement is stored.
struct TileListKeys {
    const char* shown;   // the tiles on the home grid ("...SelectItemUp")
    const char* hidden;  // the tiles the user put aside ("...SelectItemDown")
};

// The one place that knows how the signed-in user is kept in the user defaults (the keys of
// client/SignInState.h) and which notifications a change of it posts. Screens ask it instead of
// reading or writing those keys, so the choice of keys, the order of the writes and the
// notifications are decided once.
//
// It holds no state of its own: every answer is read from the store when asked, so a session
// may be made wherever one is needed. Main thread only, like the screens that use it.
class SignInSession {
public:
    // The standard user defaults and the default notification centre, looked up on every use
    // (the standard store is replaced when the data directory moves).
    SignInSession();
    // A given store and centre, e.g. fresh ones in tests. Both must outlive the session.
    SignInSession(platform::UserDefaults& defaults, platform::NotificationCenter& center);

    // --- Reading --------------------------------------------------------------------------
    // "isLogin" is YES.
    bool isSignedIn() const;
    // Teacher when "LoginTypeTeacher" is YES, else student when "LoginTypeStudent" is YES.
    UserKind kind() const;
    // The tile-list keys of kind(); both null for a user of neither kind, who has no stored
    // arrangement to read.
    TileListKeys tileListKeys() const;
    // Where an arrangement is written (the tile editor's keys): the keys of kind(), and the
    // teacher keys for a user of neither kind. Because a teacher is recognised first here as
    // everywhere else, a teacher's arrangement never lands under the student keys even when
    // both type keys are set, and what the grid reads is what the editor wrote.
    TileListKeys arrangementKeys() const;
    // The account as typed at sign-in ("UserId"); "" when none is stored.
    std::string userId() const;
    // The sign-in reply's "msg" object ("UserInfo"); an empty object when none is stored.
    platform::Json userInfo() const;
    // The user-information document ("WebViewUserInfo"); an empty object when none is stored,
    // as after a sign-in whose fetch failed.
    platform::Json webViewUserInfo() const;

    // --- Changing -------------------------------------------------------------------------
    // A granted sign-in: stores "UserInfo" (msg with its top-level nulls as "") and "UserId"
    // (the account), then "isLogin", then the type key that msg's "userType" names ("teacher"
    // or "student"; any other value sets neither), synchronising after each group. Then, with
    // the type stored, posts "kRefreshLoginMenu" when both stored tile lists of the kind hold
    // a tile. A msg that is not an object stores as an empty one.
    void applySignIn(const std::string& account, const platform::Json& msg);
    // The user-information document has arrived: stores it as "WebViewUserInfo" (top-level
    // nulls as ""), synchronises, then posts "LoginSuccess" so waiting web pages can read it.
    void storeUserInformation(const platform::Json& document);
    // Sign-out: posts "kRefreshLogoutMenu" while the user is still stored (observers may read
    // it), then removes the ten sign-in keys and synchronises. "appCurVersion", "firstLaunch"
    // and "kDeviceToken" stay.
    void signOut();
    // Records the running app version as "appCurVersion". When another version was recorded
    // before, the app was updated: the sign-in state is removed first, without a notification,
    // and the result is true so the caller can show the signed-out state. The first recorded
    // version only stores it.
    bool noteAppVersion(const std::string& currentVersion);

private:
    friend class TileArrangement;
    platform::UserDefaults& defaults() const;
    platform::NotificationCenter& center() const;

    // Null: the standard ones, looked up when used.
    platform::UserDefaults* m_defaults{nullptr};
    platform::NotificationCenter* m_center{nullptr};
};
