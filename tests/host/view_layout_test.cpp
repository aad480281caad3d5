#include "host/view_layout.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

struct LayoutCase {
    const char* name;
    std::vector<ViewRect> monitors;
    ViewRect window;
    const char* views;  // GL viewports WxH+X+Y, from the window's lower-left corner
};

class ViewLayoutTable : public ::testing::TestWithParam<LayoutCase> {};

std::string text(const ViewLayout& layout) {
    std::string s;
    for (int i = 0; i < layout.count; ++i) {
        const ViewRect& r = layout.views[i];
        s += std::to_string(r.width) + "x" + std::to_string(r.height) + "+" + std::to_string(r.x) +
             "+" + std::to_string(r.y) + " ";
    }
    return s;
}

}  // namespace

TEST_P(ViewLayoutTable, OneViewPerMonitorOnTheWindow) {
    const LayoutCase& c = GetParam();
    const ViewLayout layout = layoutViews(c.monitors.data(), static_cast<int>(c.monitors.size()), c.window);
    EXPECT_EQ(text(layout), c.views);
    EXPECT_EQ(isWholeWindow(layout, c.window), text(layout) == text({1, {{0, 0, c.window.width, c.window.height}}}));
}

INSTANTIATE_TEST_SUITE_P(
    Monitors, ViewLayoutTable,
    ::testing::Values(
        LayoutCase{"OneMonitorIsTheWholeWindow", {{0, 0, 1920, 1080}}, {0, 0, 1920, 1080}, "1920x1080+0+0 "},
        LayoutCase{"NoMonitorsGiveTheWholeWindow", {}, {0, 0, 640, 480}, "640x480+0+0 "},
        LayoutCase{"SideBySide", {{0, 0, 1280, 720}, {1280, 0, 1280, 720}}, {0, 0, 2560, 720},
                   "1280x720+0+0 1280x720+1280+0 "},
        // Rows count from the bottom: the upper monitor gets the upper part.
        LayoutCase{"StackedRowsCountFromTheBottom", {{0, 0, 800, 600}, {0, 600, 800, 400}},
                   {0, 0, 800, 1000}, "800x600+0+400 800x400+0+0 "},
        LayoutCase{"NegativeOriginsAndUnequalHeights", {{0, 0, 1920, 1080}, {-1080, -400, 1080, 1920}},
                   {-1080, -400, 3000, 1920}, "1920x1080+1080+440 1080x1920+0+0 "},
        LayoutCase{"MirroredMonitorsDrawOnce", {{0, 0, 1024, 768}, {0, 0, 1024, 768}}, {0, 0, 1024, 768},
                   "1024x768+0+0 "},
        LayoutCase{"ClippedToTheWindowAndMonitorsOffItSkipped",
                   {{-100, 0, 300, 200}, {500, 0, 100, 100}, {0, 0, 0, 200}}, {0, 0, 400, 200},
                   "200x200+0+0 "},
        LayoutCase{"MonitorsOffTheWindowGiveTheWholeWindow", {{5000, 5000, 10, 10}}, {0, 0, 300, 100},
                   "300x100+0+0 "}),
    [](const ::testing::TestParamInfo<LayoutCase>& c) { return std::string(c.param.name); });

TEST(ViewLayout, KeepsAtMost16ViewsAndSurvivesExtremeRectangles) {
    std::vector<ViewRect> monitors{{2147483600, 2147483600, 2147483647, 2147483647}};
    for (int i = 0; i < 20; ++i) monitors.push_back({i * 10, 0, 10, 10});
    const ViewLayout layout = layoutViews(monitors.data(), 21, {0, 0, 200, 10});
    EXPECT_TRUE(layout.count == MaxViews && layout.views[15].x == 150);
}

TEST(ViewLayout, PortraitViewsSeeAcrossWhatTheirLandscapeTurnSees) {
    const auto horizontal = [](int w, int h) {
        return std::atan(std::tan(verticalFieldOfView(w, h) * M_PI / 360.0) * w / h);
    };
    for (auto [w, h] : {std::pair{1920, 1080}, {500, 500}, {7, 0}, {0, 5}})
        EXPECT_EQ(verticalFieldOfView(w, h), 45.0) << w << "x" << h;
    EXPECT_NEAR(horizontal(1080, 1920), horizontal(1920, 1080), 1e-9);
    EXPECT_NEAR(horizontal(768, 1024), horizontal(1024, 768), 1e-9);
    EXPECT_NEAR(verticalFieldOfView(499, 500), 45.0, 0.2) << "no jump at square";
    EXPECT_EQ(verticalFieldOfView(10, 1000), 170.0);
}
