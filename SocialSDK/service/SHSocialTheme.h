#pragma once

#include <memory>

namespace platform {
class BitmapContext;
class Button;
class Label;
class NavigationBar;
class NavigationItem;
class TableViewCell;
class View;
}  // namespace platform

// The built-in styles the configuration's hooks take for a theme: theme 0 (a black bar with
// framed, titled buttons and a dark sheet) and the default theme 1 (the title in the SDK's
// colour, grey cell texts). Each styles only what it is given.
namespace SHSocialTheme {

void otherNavigationStyle(const std::shared_ptr<platform::NavigationBar>& bar,
                          const std::shared_ptr<platform::Button>& closeButton,
                          const std::shared_ptr<platform::Button>& backButton,
                          const std::shared_ptr<platform::Button>& postButton,
                          const std::shared_ptr<platform::Button>& refreshButton,
                          platform::NavigationItem* item);
void otherGridStyle(platform::BitmapContext* context,
                    const std::shared_ptr<platform::View>& background,
                    const std::shared_ptr<platform::Label>& captionTemplate);

void defaultNavigationStyle(const std::shared_ptr<platform::NavigationBar>& bar,
                            const std::shared_ptr<platform::Button>& closeButton,
                            const std::shared_ptr<platform::Button>& backButton,
                            const std::shared_ptr<platform::Button>& postButton,
                            const std::shared_ptr<platform::Button>& refreshButton,
                            platform::NavigationItem* item);
void defaultCellStyle(const std::shared_ptr<platform::TableViewCell>& cell, int screenType);

}  // namespace SHSocialTheme
