#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/testing/UIDriver.h"
#include "platform/testing/UiTestScope.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Screen.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TableViewDataSource.h"
#include "platform/ui/TableViewDelegate.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/Window.h"

namespace drivertest {

// A small settings-like screen: a label, a button that counts its taps and a table whose
// rows are `rows`, which records the rows the user selects.
class SampleScreen : public platform::ViewController,
                     public platform::TableViewDataSource,
                     public platform::TableViewDelegate {
public:
    explicit SampleScreen(std::vector<std::string> rows = {"First", "Second"})
        : rows(std::move(rows)) {}

    void loadView() override {
        auto root = platform::View::make<platform::View>(platform::Screen::main().bounds());
        root->setBackgroundColor(platform::Color::white());
        setView(root);
    }

    void viewDidLoad() override {
        setTitle("Settings");
        double width = view()->bounds().size.width;
        label = platform::View::make<platform::Label>(platform::Rect{{20, 80}, {200, 30}});
        label->setText("Hello");
        view()->addSubview(label);
        button = platform::View::make<platform::Button>(platform::Rect{{20, 120}, {100, 44}},
                                                        platform::ButtonType::System);
        button->setTitle("Go");
        button->addTarget([this](platform::Control&) { ++taps; },
                          platform::ControlEvent::TouchUpInside);
        view()->addSubview(button);
        table = platform::View::make<platform::TableView>(platform::Rect{{0, 180}, {width, 220}});
        auto self = std::static_pointer_cast<SampleScreen>(shared_from_this());
        table->setDataSource(self);
        table->setDelegate(self);
        view()->addSubview(table);
    }

    int numberOfRowsInSection(platform::TableView&, int) override { return int(rows.size()); }

    std::shared_ptr<platform::TableViewCell> cellForRowAtIndexPath(
        platform::TableView& tableView, const platform::IndexPath& indexPath) override {
        auto cell = tableView.dequeueReusableCellWithIdentifier("row", indexPath);
        cell->textLabel()->setText(rows[size_t(indexPath.row)]);
        return cell;
    }

    void didSelectRowAtIndexPath(platform::TableView&,
                                 const platform::IndexPath& indexPath) override {
        selected.push_back(indexPath);
    }

    std::vector<std::string> rows;
    std::shared_ptr<platform::Label> label;
    std::shared_ptr<platform::Button> button;
    std::shared_ptr<platform::TableView> table;
    std::vector<platform::IndexPath> selected;
    int taps = 0;
};

// Every case starts on a fresh stand-in phone with a manual clock.
class DriverTest : public ::testing::Test {
protected:
    void SetUp() override { scope = std::make_unique<platform::testing::UiTestScope>(); }
    void TearDown() override {
        window.reset();
        scope.reset();
    }

    // A key window showing `root`.
    void show(std::shared_ptr<platform::ViewController> root) {
        window = platform::View::make<platform::Window>();
        window->setRootViewController(std::move(root));
        window->makeKeyAndVisible();
    }

    // The sample screen inside a navigation controller, on screen.
    std::shared_ptr<SampleScreen> showSample(std::vector<std::string> rows = {"First", "Second"}) {
        auto screen = std::make_shared<SampleScreen>(std::move(rows));
        navigation = std::make_shared<platform::NavigationController>(screen);
        show(navigation);
        return screen;
    }

    std::unique_ptr<platform::testing::UiTestScope> scope;
    std::shared_ptr<platform::Window> window;
    std::shared_ptr<platform::NavigationController> navigation;
    platform::testing::UIDriver driver;
};

}  // namespace drivertest
