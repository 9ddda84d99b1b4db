#pragma once

#include <memory>
#include <string>

namespace platform::components {
class ProgressHUD;
}

// Where the SDK's toasts stand in the key window.
enum class SHSocialiToastGravity : int {
    Top = 1000001,
    Bottom = 1000002,
    Center = 1000003,
};

// How long a toast stays, in milliseconds.
enum class SHSocialiToastDuration : int {
    Short = 1000,
    Normal = 3000,
    Long = 10000,
};

// The shared settings of the SDK's toasts: where they stand, how long they stay and whether
// they show at all. Main thread.
class SHSocialiToastSettings {
public:
    static SHSocialiToastSettings& getSharedSettings();
    // Back to the settings of a fresh start (tests).
    static void resetSharedSettings();

    SHSocialiToastGravity gravity = SHSocialiToastGravity::Center;
    int duration = static_cast<int>(SHSocialiToastDuration::Short);
    // Set by the host to keep the finish messages off the screen.
    bool hidden = false;
};

// One short message of the SDK: a text-only progress overlay on the key window that lets
// touches through, stands at the settings' position and goes after its duration on the run
// loop's clock. It is not shown while the settings hide toasts or the host's configuration
// hides status tips; the text still goes to the SDK log. Main thread.
class SHSocialiToast {
public:
    static std::shared_ptr<SHSocialiToast> makeText(const std::string& text);

    const std::string& text() const { return m_text; }
    // Milliseconds; the settings' duration until set.
    int duration() const { return m_duration; }
    void setDuration(int milliseconds) { m_duration = milliseconds; }
    SHSocialiToastGravity gravity() const { return m_gravity; }
    void setGravity(SHSocialiToastGravity gravity) { m_gravity = gravity; }

    // Puts the message on the key window; without a key window nothing shows.
    void show();
    // Takes the message away before its time; nothing when it is not showing.
    void removeToast();
    // The overlay while the message shows, else null.
    std::shared_ptr<platform::components::ProgressHUD> view() const;

    // Where the message's box stands in a window of this height, as the distance of its
    // middle from the window's top, for a box of the given height.
    static double boxCenterY(SHSocialiToastGravity gravity, double windowHeight, double boxHeight);
    // The box's distance from the window's edge at the top and bottom positions: clear of the
    // status and navigation bars, and of a tab bar.
    static constexpr double kEdgeDistance = 80;

private:
    explicit SHSocialiToast(std::string text);

    std::string m_text;
    int m_duration;
    SHSocialiToastGravity m_gravity;
    std::weak_ptr<platform::components::ProgressHUD> m_view;
};

// The SDK's screens' and services' short form: make the message and show it.
class SHSocialToast {
public:
    static void makeTextAndShow(const std::string& text);
};
