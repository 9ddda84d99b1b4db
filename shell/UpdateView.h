#pragma once

#include <memory>
#include <string>

#include "platform/foundation/Json.h"
#include "platform/ui/View.h"

namespace platform {
class Button;
class Control;
class ImageView;
class Label;
class ScrollView;
}  // namespace platform

// The full-screen overlay that announces a new version in the store: a card with the
// version, the download size and the release notes of the first store record, a button
// that opens the store page, and a close button over the card's corner. It goes away when
// either button is tapped; nothing is stored.
class UpdateView : public platform::View {
public:
    static constexpr const char* kDownloadHandle = "download";
    static constexpr const char* kCloseHandle = "closeUpdate";

    // `results` is the store reply's "results" array; the first record is shown.
    UpdateView(const platform::Rect& frame, const platform::Json& results);
    ~UpdateView() override;

    // The store page the download button opens.
    const std::string& urlStr() const { return m_urlStr; }

    // Opens the store page through the application and closes the overlay.
    void updateButtonAction(platform::Control& sender);
    // Closes the overlay.
    void cancelButtonAction(platform::Control& sender);

    const std::shared_ptr<platform::View>& card() const { return m_card; }
    const std::shared_ptr<platform::Label>& versionLabel() const { return m_versionLabel; }
    const std::shared_ptr<platform::Label>& sizeLabel() const { return m_sizeLabel; }
    const std::shared_ptr<platform::ScrollView>& notesScrollView() const {
        return m_notesScrollView;
    }
    const std::shared_ptr<platform::Label>& notesLabel() const { return m_notesLabel; }
    const std::shared_ptr<platform::Button>& downloadButton() const { return m_downloadButton; }
    const std::shared_ptr<platform::Button>& closeButton() const { return m_closeButton; }

private:
    void createUI(const platform::Json& results);

    std::string m_urlStr;
    std::shared_ptr<platform::View> m_card;
    std::shared_ptr<platform::Label> m_versionLabel;
    std::shared_ptr<platform::Label> m_sizeLabel;
    std::shared_ptr<platform::ScrollView> m_notesScrollView;
    std::shared_ptr<platform::Label> m_notesLabel;
    std::shared_ptr<platform::Button> m_downloadButton;
    std::shared_ptr<platform::Button> m_closeButton;
};
