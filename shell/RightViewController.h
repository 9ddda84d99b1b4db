#pragma once

#include <memory>
#include <string>

#include "client/CollectionViewCellModel.h"
#include "platform/ui/AlertViewDelegate.h"
#include "platform/ui/TableViewDataSource.h"
#include "platform/ui/TableViewDelegate.h"
#include "platform/ui/ViewController.h"

namespace platform {
class ImageView;
class Label;
class TableView;
class View;
}  // namespace platform

// The side menu: the panel the side-menu container uncovers at the right. It shows the
// signed-in user's avatar and name, a one-line weather report with its icon, and two rows:
// "栏目订阅" opens the tile editor, "清除缓存" empties the image cache and says how much it
// freed. The panel is built afresh every time it is shown, so the name and the weather are
// current.
class RightViewController : public platform::ViewController,
                            public platform::TableViewDataSource,
                            public platform::TableViewDelegate,
                            public platform::AlertViewDelegate {
public:
    static constexpr const char* kSubscribeTitle = "栏目订阅";
    static constexpr const char* kClearCacheTitle = "清除缓存";
    static constexpr double kRowHeight = 52;

    RightViewController();
    ~RightViewController() override;

    void viewDidLoad() override;
    void viewDidAppear(bool animated) override;

    // Builds the panel over whatever was there and asks for the weather.
    void createUI();
    void getWeatherData();
    // Row 0: presents the tile editor with the user's arrangement.
    void openTileEditor();
    // Row 1, confirmed: measures the image cache, clears it, then reports what was freed.
    void clearTmpPics();
    // A one-second text message on the panel.
    void showHUDWithStr(const std::string& text);

    // The panel's current parts; null before the panel is first shown.
    const std::shared_ptr<platform::View>& bgView() const { return m_bgView; }
    const std::shared_ptr<platform::ImageView>& headImageView() const { return m_headImageView; }
    const std::shared_ptr<platform::Label>& nameLabel() const { return m_nameLabel; }
    const std::shared_ptr<platform::ImageView>& tqImageView() const { return m_tqImageView; }
    const std::shared_ptr<platform::Label>& weatherLabel() const { return m_weatherLabel; }
    const std::shared_ptr<platform::TableView>& tableView() const { return m_tableView; }
    // The default tiles, as last handed to the editor when nothing was stored.
    const TileList& modelArr() const { return m_modelArr; }

    // --- Table ---------------------------------------------------------------------------
    int numberOfRowsInSection(platform::TableView& tableView, int section) override;
    std::shared_ptr<platform::TableViewCell> cellForRowAtIndexPath(
        platform::TableView& tableView, const platform::IndexPath& indexPath) override;
    double heightForRowAtIndexPath(platform::TableView& tableView,
                                   const platform::IndexPath& indexPath) override;
    void didSelectRowAtIndexPath(platform::TableView& tableView,
                                 const platform::IndexPath& indexPath) override;

    // --- Alert ---------------------------------------------------------------------------
    void clickedButtonAtIndex(platform::AlertView& alert, int index) override;

private:
    std::shared_ptr<RightViewController> self();
    void askToClearCache();

    std::shared_ptr<platform::View> m_bgView;
    std::shared_ptr<platform::ImageView> m_headImageView;
    std::shared_ptr<platform::Label> m_nameLabel;
    std::shared_ptr<platform::ImageView> m_tqImageView;
    std::shared_ptr<platform::Label> m_weatherLabel;
    std::shared_ptr<platform::TableView> m_tableView;
    TileList m_modelArr;
    // Counts the panel's builds; a weather reply asked for by an earlier build is dropped,
    // since the panel on screen has asked again and its own answer must not be overwritten.
    unsigned m_build{0};
};
