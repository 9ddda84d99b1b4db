#include "components/photopicker/WebPhotoFilePicker.h"

#include <string>
#include <system_error>
#include <utility>

#include "components/photopicker/PhotoPickerViewController.h"
#include "platform/devices/ImagePickerController.h"
#include "platform/devices/PhotoLibrary.h"
#include "platform/foundation/Dispatch.h"
#include "platform/foundation/Files.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/Paths.h"
#include "platform/foundation/UUID.h"
#include "platform/graphics/Image.h"
#include "platform/ui/ActionSheet.h"
#include "platform/ui/ActionSheetDelegate.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/WebView.h"

namespace platform::components {

namespace {

// The sheet or picker showing for an ask keeps what answers it: when it goes, however it was
// closed, an ask it leaves open goes with it, answered with nothing (WebFileAsk).
template <typename Shown>
class Holding final : public Shown {
public:
    using Shown::Shown;
    std::shared_ptr<void> keep;
};

// The controller whose screen holds the web view: the pickers are presented from it.
std::shared_ptr<ViewController> controllerShowing(WebView& webView) {
    for (auto view = webView.shared_from_this(); view; view = view->superview()) {
        if (auto controller = view->viewController())
            return controller;
    }
    return nullptr;
}

void removeFiles(const std::vector<std::filesystem::path>& files) {
    for (const auto& file : files) {
        std::error_code ignored;
        std::filesystem::remove(file, ignored);
    }
}

}  // namespace

// One ask, from the sheet to the files: the delegate of whichever sheet or picker shows.
class WebPhotoFilePicker::Session final : public ActionSheetDelegate,
                                          public ImagePickerControllerDelegate,
                                          public PhotoPickerViewControllerDelegate,
                                          public std::enable_shared_from_this<Session> {
public:
    Session(std::weak_ptr<WebPhotoFilePicker> owner, std::shared_ptr<WebFileAsk> ask,
            std::weak_ptr<ViewController> presenter)
        : m_owner(std::move(owner)), m_ask(std::move(ask)), m_presenter(std::move(presenter)) {}

    void offerSources() {
        auto presenter = m_presenter.lock();
        if (!presenter)
            return;
        auto sheet = View::make<Holding<ActionSheet>>(
            "", weak_from_this(), kCancel, "", std::vector<std::string>{kTakePhoto, kFromAlbum});
        sheet->keep = shared_from_this();
        m_sheet = sheet;
        sheet->showInView(presenter->view());
    }

    void openCamera() {
        auto picker = std::make_shared<Holding<ImagePickerController>>();
        picker->setSourceType(ImagePickerSourceType::Camera);
        picker->setDelegate(weak_from_this());
        present(picker);
    }

    void openAlbum() {
        auto picker = std::make_shared<Holding<PhotoPickerViewController>>();
        picker->setStatus(PickerViewShowStatus::CameraRoll);
        picker->setAllowsMultipleSelection(m_ask->multiple());
        picker->setDelegate(weak_from_this());
        present(picker);
    }

    // The page the ask came from went away: what shows for it closes, choosing nothing.
    void close() {
        if (auto sheet = m_sheet.lock(); sheet && sheet->isVisible())
            sheet->dismissWithClickedButtonIndex(sheet->cancelButtonIndex(), true);
        if (auto picker = m_picker.lock();
            picker && picker->presentingViewController() && !picker->isBeingDismissed())
            picker->dismissViewController(true);
    }

    void clickedButtonAtIndex(ActionSheet& sheet, int index) override {
        if (index == sheet.cancelButtonIndex())
            m_ask->answer({});
        else if (sheet.buttonTitleAtIndex(index) == kTakePhoto)
            openCamera();
        else if (sheet.buttonTitleAtIndex(index) == kFromAlbum)
            openAlbum();
    }

    void imagePickerControllerDidFinishPickingMediaWithInfo(
        ImagePickerController& picker, const ImagePickerMediaInfo& info) override {
        if (info.mediaType == ImagePickerController::kMediaTypeImage &&
            !info.originalImage.isNull())
            deliver({Picture{info.originalImage, {}}});
        else
            m_ask->answer({});
        picker.dismissViewController(true);
    }

    void imagePickerControllerDidCancel(ImagePickerController& picker) override {
        m_ask->answer({});
        picker.dismissViewController(true);
    }

    void pickerViewControllerDoneAsstes(const std::vector<PhotoAsset>& assets) override {
        std::vector<Picture> pictures;
        for (const auto& asset : assets) pictures.push_back(Picture{{}, asset.file});
        deliver(std::move(pictures));
    }

    void pickerViewControllerDidCancel() override { m_ask->answer({}); }

private:
    // A picture the camera took, or a photo of the album to read from its file.
    struct Picture {
        Image image;
        std::filesystem::path file;
    };

    template <typename Picker>
    void present(const std::shared_ptr<Holding<Picker>>& picker) {
        auto presenter = m_presenter.lock();
        if (!presenter)
            return;
        // Kept by the picker from now on; a presentation that cannot be made (the screen is
        // presenting already, or gone) lets the picker go at once, and the ask with it.
        picker->keep = shared_from_this();
        m_picker = picker;
        presenter->presentViewController(picker, true);
    }

    // Writes the pictures away from the main thread, one decoded at a time, and answers the
    // page with their files once all are written.
    void deliver(std::vector<Picture> pictures) {
        const std::filesystem::path folder = paths::temporaryDirectory();
        // The ask goes with the work, which answers it: the picker closing meanwhile must not
        // answer it with nothing first.
        dispatch::async([ask = m_ask, owner = m_owner, folder,
                         pictures = std::move(pictures)]() mutable {
            std::vector<std::filesystem::path> files;
            for (const auto& picture : pictures) {
                Image image =
                    picture.image.isNull() ? Image::fromFile(picture.file) : picture.image;
                if (image.isNull()) {
                    log("web view: not a picture: %@", picture.file.string());
                    continue;
                }
                const auto file = folder / ("photo-" + makeUUIDString() + ".jpg");
                if (writeNewFileAtomically(file, image.jpegData(kJpegQuality)) !=
                    NewFileResult::Written) {
                    log("web view: cannot write %@", file.string());
                    continue;
                }
                files.push_back(file);
            }
            // Answered, and let go, on the main thread only.
            dispatch::mainAsync([ask = std::move(ask), owner = std::move(owner),
                                 files = std::move(files)]() mutable {
                std::vector<std::string> paths;
                for (const auto& file : files) paths.push_back(file.string());
                if (!ask->answer(std::move(paths))) {
                    // Withdrawn: the page went away meanwhile, and no page has the files.
                    removeFiles(files);
                    return;
                }
                if (auto picker = owner.lock())
                    picker->m_written.insert(picker->m_written.end(), files.begin(), files.end());
            });
        });
    }

    std::weak_ptr<WebPhotoFilePicker> m_owner;
    std::shared_ptr<WebFileAsk> m_ask;
    std::weak_ptr<ViewController> m_presenter;
    std::weak_ptr<ActionSheet> m_sheet;
    std::weak_ptr<ViewController> m_picker;
};

WebPhotoFilePicker::~WebPhotoFilePicker() {
    removeFiles(m_written);
}

void WebPhotoFilePicker::pickFiles(WebView& webView, std::shared_ptr<WebFileAsk> ask) {
    if (!ask->acceptsImages()) {
        log("web view: the file field takes no pictures; there is nothing to offer it");
        ask->answer({});
        return;
    }
    auto presenter = controllerShowing(webView);
    if (!presenter || !webView.window()) {
        ask->answer({});
        return;
    }
    auto session = std::make_shared<Session>(weak_from_this(), ask, presenter);
    ask->onWithdrawn([weak = std::weak_ptr<Session>(session)] {
        if (auto shown = weak.lock())
            shown->close();
    });
    if (ImagePickerController::isSourceTypeAvailable(ImagePickerSourceType::Camera))
        session->offerSources();
    else
        session->openAlbum();
}

}  // namespace platform::components
