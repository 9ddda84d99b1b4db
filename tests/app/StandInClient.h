#pragma once

// A tiny client for driving the front end without the real screens: one navigation stack
// whose first screen has a label, a field, a button that fetches a reply from a server and
// shows it, and a button that pushes a second screen.

#include <memory>
#include <string>

#include "platform/net/HttpClient.h"
#include "platform/ui/ApplicationDelegate.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Screen.h"
#include "platform/ui/TextField.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/Window.h"

namespace standin {

class SecondScreen : public platform::ViewController {
public:
    void viewDidLoad() override { setTitle("Second"); }
};

class FirstScreen : public platform::ViewController {
public:
    explicit FirstScreen(std::string replyUrl) : m_replyUrl(std::move(replyUrl)) {}

    void loadView() override {
        auto root = platform::View::make<platform::View>(platform::Screen::main().bounds());
        root->setBackgroundColor(platform::Color::white());
        setView(root);
    }

    void viewDidLoad() override {
        setTitle("First");
        label = platform::View::make<platform::Label>(platform::Rect{{20, 80}, {300, 30}});
        label->setText("nothing loaded");
        view()->addSubview(label);

        field = platform::View::make<platform::TextField>(platform::Rect{{20, 120}, {300, 40}});
        field->setPlaceholder("账号");
        view()->addSubview(field);

        auto load = platform::View::make<platform::Button>(platform::Rect{{20, 180}, {100, 44}},
                                                           platform::ButtonType::System);
        load->setTitle("Load");
        std::weak_ptr<FirstScreen> weak = std::static_pointer_cast<FirstScreen>(shared_from_this());
        load->addTarget(
            [weak](platform::Control&) {
                auto self = weak.lock();
                if (!self) {
                    return;
                }
                platform::HttpRequest request;
                request.url = self->m_replyUrl;
                platform::HttpClient::shared().send(request, [weak](platform::HttpResponse reply) {
                    if (auto screen = weak.lock()) {
                        screen->label->setText("loaded: " + reply.body);
                    }
                });
            },
            platform::ControlEvent::TouchUpInside);
        view()->addSubview(load);

        auto next = platform::View::make<platform::Button>(platform::Rect{{140, 180}, {100, 44}},
                                                           platform::ButtonType::System);
        next->setTitle("Next");
        next->addTarget(
            [weak](platform::Control&) {
                if (auto self = weak.lock()) {
                    self->navigationController()->pushViewController(
                        std::make_shared<SecondScreen>(), true);
                }
            },
            platform::ControlEvent::TouchUpInside);
        view()->addSubview(next);
    }

    std::shared_ptr<platform::Label> label;
    std::shared_ptr<platform::TextField> field;

private:
    std::string m_replyUrl;
};

class Delegate : public platform::ApplicationDelegate {
public:
    explicit Delegate(std::string replyUrl) : m_replyUrl(std::move(replyUrl)) {}

    bool didFinishLaunchingWithOptions(platform::Application&, const platform::Json&) override {
        window = platform::View::make<platform::Window>();
        window->setRootViewController(std::make_shared<platform::NavigationController>(
            std::make_shared<FirstScreen>(m_replyUrl)));
        window->makeKeyAndVisible();
        return true;
    }

    std::shared_ptr<platform::Window> window;

private:
    std::string m_replyUrl;
};

}  // namespace standin
