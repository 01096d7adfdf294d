// The band bar's held arrangement of start-up against arranging each place as
// it comes.
#include "ui/ComCtrls.h"
#include "ui/Forms.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

// A window with a band bar of three toolbars, as the main window builds its own.
class BandWindow : public TForm {
public:
    BandWindow() : TForm("TBandTestWindow")
    {
        SetBounds(0, 0, 500, 200);
        bar = std::make_unique<TControlBar>(this);
        bar->SetAlign(TAlign::Top);
        for (int width : {150, 120, 200})
            bars.push_back(std::make_unique<TToolBar>(bar.get(), width, nullptr));
        for (auto& toolBar : bars)
            bar->AddBand(toolBar.get());
    }
    std::vector<std::string> Places() const
    {
        std::vector<std::string> places;
        for (const auto& toolBar : bars)
            places.push_back(std::to_string(toolBar->Left()) + " " + std::to_string(toolBar->Top()));
        return places;
    }
    std::unique_ptr<TControlBar> bar;
    std::vector<std::unique_ptr<TToolBar>> bars;
};

} // namespace

TEST(ControlBarTest, AHeldArrangementEndsWhereArrangingEachPlaceEnds)
{
    // (toolbar, left or top, value) in the order they are set.
    struct Step {
        int bar;
        bool left;
        int value;
    };
    const std::vector<std::vector<Step>> cases = {
        {{0, false, 2}, {0, true, 11}, {1, false, 2}, {1, true, 175}, {2, false, 28}, {2, true, 11}},
        {{2, false, 0}, {1, false, 24}, {0, false, 24}, {2, true, 9}, {1, true, 9}, {0, true, 300}},
        {{0, true, 400}, {1, true, 5}, {2, false, 60}},
    };
    for (size_t i = 0; i < cases.size(); ++i) {
        BandWindow direct, held;
        held.bar->HoldArrangement();
        for (const Step& step : cases[i]) {
            for (BandWindow* window : {&direct, &held}) {
                TToolBar* toolBar = window->bars[step.bar].get();
                step.left ? window->bar->SetBandLeft(toolBar, step.value) : window->bar->SetBandTop(toolBar, step.value);
            }
        }
        // The window grows before the held places are arranged, as the
        // settings load sizes the main window first.
        for (BandWindow* window : {&direct, &held})
            window->SetBounds(0, 0, 640, 200);
        held.bar->ReleaseArrangement();
        EXPECT_EQ(held.Places(), direct.Places()) << "case " << i;
        EXPECT_EQ(held.bar->Height(), direct.bar->Height()) << "case " << i;
    }
}
