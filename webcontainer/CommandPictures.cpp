#include "webcontainer/CommandPictures.h"

#include <algorithm>
#include <chrono>
#include <utility>

#include "platform/foundation/Dispatch.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/RunLoop.h"
#include "platform/graphics/Image.h"
#include "platform/net/HttpResponse.h"
#include "platform/net/PictureFetches.h"

struct CommandPictures::State : std::enable_shared_from_this<State> {
    using Clock = std::chrono::steady_clock;

    std::vector<std::string> urls;
    platform::Size shown;
    Limits limits;
    Done done;
    // Time-outs are the network's, and the network keeps real time.
    Clock::time_point deadline;
    std::vector<platform::Image> images;
    platform::PictureFetches::FetchId fetch = 0;
    bool over = false;

    // The next address's download, or the end when none is left or time ran out.
    void next() {
        while (!over && images.size() < urls.size()) {
            const std::string& url = urls[images.size()];
            const double left = std::chrono::duration<double>(deadline - Clock::now()).count();
            if (left <= 0) {
                platform::log("error:%@", "image downloads took too long: " + url);
                break;
            }
            if (url.empty()) {
                images.emplace_back();
                continue;
            }
            platform::HttpRequest request;
            request.url = url;
            request.timeoutSeconds = std::min(limits.eachSeconds, left);
            std::weak_ptr<State> weak = weak_from_this();
            fetch = platform::PictureFetches::shared().fetch(
                std::move(request),
                [weak, url](platform::HttpResponse response, platform::PictureFetches::Room room) {
                    if (auto state = weak.lock())
                        state->answered(url, std::move(response), std::move(room));
                });
            return;
        }
        finish();
    }

    void answered(const std::string& url, platform::HttpResponse response,
                  platform::PictureFetches::Room room) {
        fetch = 0;
        if (over)
            return;
        if (!response.ok()) {
            platform::log("error:%@", response.error.empty()
                                          ? url + " answered " + std::to_string(response.status)
                                          : response.error);
            images.emplace_back();
            next();
            return;
        }
        // A picture may take seconds to decode: not on the main thread either.
        std::weak_ptr<State> weak = weak_from_this();
        platform::dispatch::async([weak, url, shown = shown, body = std::move(response.body),
                                   room = std::move(room)]() mutable {
            platform::Image image = platform::Image::decode(body, 1, shown);
            body = {};
            room.reset();
            platform::dispatch::mainAsync([weak, url, image = std::move(image)]() mutable {
                if (auto state = weak.lock())
                    state->decoded(url, std::move(image));
            });
        });
    }

    void decoded(const std::string& url, platform::Image image) {
        if (over)
            return;
        if (image.isNull())
            platform::log("error:%@", "not an image: " + url);
        images.push_back(std::move(image));
        next();
    }

    void finish() {
        if (over)
            return;
        over = true;
        images.resize(urls.size());
        // Taken out first: `done` may let go of these downloads.
        Done finished = std::move(done);
        if (finished)
            finished(std::move(images));
    }

    void cancel() {
        over = true;
        done = nullptr;
        if (fetch != 0)
            platform::PictureFetches::shared().cancel(std::exchange(fetch, 0));
    }
};

std::unique_ptr<CommandPictures> CommandPictures::start(std::vector<std::string> urls,
                                                        platform::Size shown, Limits limits,
                                                        Done done) {
    auto state = std::make_shared<State>();
    state->urls = std::move(urls);
    state->shown = shown;
    state->limits = limits;
    state->done = std::move(done);
    state->deadline = State::Clock::now() + std::chrono::duration_cast<State::Clock::duration>(
                                                std::chrono::duration<double>(limits.totalSeconds));
    // Begun on the next turn, so that `done` never runs inside the caller's own call, even
    // for a list of empty addresses.
    std::weak_ptr<State> weak = state;
    platform::RunLoop::main().post([weak] {
        if (auto started = weak.lock())
            started->next();
    });
    return std::unique_ptr<CommandPictures>(new CommandPictures(std::move(state)));
}

CommandPictures::CommandPictures(std::shared_ptr<State> state) : m_state(std::move(state)) {}

CommandPictures::~CommandPictures() {
    cancel();
}

void CommandPictures::cancel() {
    m_state->cancel();
}

bool CommandPictures::isOver() const {
    return m_state->over;
}
