// What the terminal front end and the UI tests pay per screen: laying out and rendering a
// standard phone screen (a navigation controller over a 50-row table) to PNG, and describing
// it as an outline; and typing a long text into a field and a text view, which must take time
// in proportion to the text (10 times the text, about 10 times the time). Run by hand:
// build/bench/ui_bench. Targets: outline under 1 ms, render under 30 ms.

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "platform/foundation/RunLoop.h"
#include "platform/graphics/Image.h"
#include "platform/testing/UIDriver.h"
#include "platform/testing/UiTestScope.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Renderer.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TableViewDataSource.h"
#include "platform/ui/TextField.h"
#include "platform/ui/TextView.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/Window.h"

namespace {

using namespace platform;

class ListScreen : public ViewController, public TableViewDataSource {
public:
    void viewDidLoad() override {
        setTitle("通讯录");
        auto table = View::make<TableView>(view()->bounds());
        table->setAutoresizingMask(AutoresizingMask::FlexibleWidth |
                                   AutoresizingMask::FlexibleHeight);
        table->setDataSource(std::static_pointer_cast<ListScreen>(shared_from_this()));
        view()->setBackgroundColor(Color::white());
        view()->addSubview(table);
    }

    int numberOfRowsInSection(TableView&, int) override { return 50; }

    std::shared_ptr<TableViewCell> cellForRowAtIndexPath(TableView& table,
                                                         const IndexPath& path) override {
        auto cell = table.dequeueReusableCellWithIdentifier("contact", path);
        cell->textLabel()->setText("联系人 " + std::to_string(path.row + 1));
        cell->setAccessoryType(TableViewCellAccessoryType::DisclosureIndicator);
        return cell;
    }
};

// A 375 x 667 phone showing the list inside a navigation controller.
struct Phone {
    platform::testing::UiTestScope scope{Size{375, 667}};
    std::shared_ptr<Window> window = View::make<Window>();

    Phone() {
        window->setRootViewController(
            std::make_shared<NavigationController>(std::make_shared<ListScreen>()));
        window->makeKeyAndVisible();
        window->layoutIfNeeded();
    }
};

void BM_RenderScreenToPNG(benchmark::State& state) {
    Phone phone;
    for (auto _ : state) {
        phone.window->setNeedsLayoutBelow();
        std::string png = renderToImage(*phone.window).pngData();
        benchmark::DoNotOptimize(png);
    }
}
BENCHMARK(BM_RenderScreenToPNG)->Unit(benchmark::kMillisecond);

void BM_OutlineScreen(benchmark::State& state) {
    Phone phone;
    platform::testing::UIDriver driver;
    for (auto _ : state) {
        std::string outline = driver.outline();
        benchmark::DoNotOptimize(outline);
    }
}
BENCHMARK(BM_OutlineScreen)->Unit(benchmark::kMicrosecond);

// `count` characters, Latin and Chinese mixed, as a user would paste them in.
std::string longText(int64_t count) {
    static const char* const kCharacters[] = {"a", "1", "岚", "溪", " ", "z"};
    std::string text;
    for (int64_t i = 0; i < count; ++i) {
        text += kCharacters[i % 6];
    }
    return text;
}

// Types the text key by key through the driver (as the campus program's "type" does) into
// an input on the phone's screen, starting empty each time.
template <typename Input>
void typeLongText(benchmark::State& state) {
    Phone phone;
    auto input = View::make<Input>(Rect{{20, 100}, {300, 120}});
    phone.window->rootViewController()->view()->addSubview(input);
    platform::testing::UIDriver driver;
    std::string handle = driver.handleOf(*input);
    std::string text = longText(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        input->setText("");
        state.ResumeTiming();
        if (!driver.type(handle, text).ok) {
            state.SkipWithError("typing refused");
            break;
        }
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_TypeIntoField(benchmark::State& state) {
    typeLongText<TextField>(state);
}
BENCHMARK(BM_TypeIntoField)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_TypeIntoTextView(benchmark::State& state) {
    typeLongText<TextView>(state);
}
BENCHMARK(BM_TypeIntoTextView)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    platform::RunLoop::main().bindToCurrentThread();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
