#pragma once

#include <memory>

#include "campus/AnnouncementChannelView.h"

// Notice channel 2: the important documents.
class FileView : public AnnouncementChannelView {
public:
    static constexpr Channel kChannel{2, "重要文件", "重要文件：%@", false};

    FileView() : AnnouncementChannelView(kChannel) {}
    static std::shared_ptr<FileView> create() {
        return AnnouncementChannelView::create<FileView>();
    }
};
