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
    std::vector<ViewRect> views;  // GL viewports, from the window's lower-left corner
};

class ViewLayoutTable : public ::testing::TestWithParam<LayoutCase> {};

std::string text(const ViewRect& r) {
    return std::to_string(r.width) + "x" + std::to_string(r.height) + "+" + std::to_string(r.x) +
           "+" + std::to_string(r.y);
}

}  // namespace

TEST_P(ViewLayoutTable, OneViewPerMonitorOnTheWindow) {
    const LayoutCase& c = GetParam();
    const ViewLayout layout =
        layoutViews(c.monitors.data(), static_cast<int>(c.monitors.size()), c.window);
    std::string got, wanted;
    for (int i = 0; i < layout.count; ++i) got += text(layout.views[i]) + " ";
    for (const ViewRect& v : c.views) wanted += text(v) + " ";
    EXPECT_EQ(got, wanted);
    EXPECT_EQ(isWholeWindow(layout, c.window), c.views.size() == 1 && c.views[0].x == 0 &&
                                                   c.views[0].y == 0 &&
                                                   c.views[0].width == c.window.width &&
                                                   c.views[0].height == c.window.height);
}

INSTANTIATE_TEST_SUITE_P(
    Monitors, ViewLayoutTable,
    ::testing::Values(
        LayoutCase{"OneMonitorIsTheWholeWindow", {{0, 0, 1920, 1080}}, {0, 0, 1920, 1080},
                   {{0, 0, 1920, 1080}}},
        LayoutCase{"NoMonitorsGiveTheWholeWindow", {}, {0, 0, 640, 480}, {{0, 0, 640, 480}}},
        LayoutCase{"SideBySide", {{0, 0, 1280, 720}, {1280, 0, 1280, 720}}, {0, 0, 2560, 720},
                   {{0, 0, 1280, 720}, {1280, 0, 1280, 720}}},
        // Rows count from the bottom: the upper monitor gets the upper half.
        LayoutCase{"StackedRowsCountFromTheBottom", {{0, 0, 800, 600}, {0, 600, 800, 400}},
                   {0, 0, 800, 1000}, {{0, 400, 800, 600}, {0, 0, 800, 400}}},
        // A monitor left of the primary, a taller one, and the virtual screen around them.
        LayoutCase{"NegativeOriginsAndUnequalHeights",
                   {{0, 0, 1920, 1080}, {-1080, -400, 1080, 1920}}, {-1080, -400, 3000, 1920},
                   {{1080, 440, 1920, 1080}, {0, 0, 1080, 1920}}},
        LayoutCase{"MirroredMonitorsDrawOnce", {{0, 0, 1024, 768}, {0, 0, 1024, 768}},
                   {0, 0, 1024, 768}, {{0, 0, 1024, 768}}},
        LayoutCase{"ClippedToTheWindowAndMonitorsOffItSkipped",
                   {{-100, 0, 300, 200}, {500, 0, 100, 100}, {0, 0, 0, 200}}, {0, 0, 400, 200},
                   {{0, 0, 200, 200}}},
        LayoutCase{"MonitorsOffTheWindowGiveTheWholeWindow", {{5000, 5000, 10, 10}},
                   {0, 0, 300, 100}, {{0, 0, 300, 100}}}),
    [](const ::testing::TestParamInfo<LayoutCase>& c) { return std::string(c.param.name); });

TEST(ViewLayout, KeepsAtMost16ViewsAndSurvivesExtremeRectangles) {
    std::vector<ViewRect> monitors;
    for (int i = 0; i < 20; ++i) monitors.push_back({i * 10, 0, 10, 10});
    monitors.insert(monitors.begin(), {2147483600, 2147483600, 2147483647, 2147483647});
    const ViewLayout layout = layoutViews(monitors.data(), 21, {0, 0, 200, 10});
    ASSERT_EQ(layout.count, MaxViews);
    EXPECT_EQ(text(layout.views[15]), "10x10+150+0");
}

TEST(ViewLayout, PortraitViewsSeeAcrossWhatTheirLandscapeTurnSees) {
    constexpr double Degrees = 180.0 / 3.14159265358979323846;
    const auto horizontal = [&](int w, int h) {
        return 2.0 * std::atan(std::tan(verticalFieldOfView(w, h) / 2.0 / Degrees) * w / h) * Degrees;
    };
    for (auto [w, h] : {std::pair{1920, 1080}, {1024, 768}, {500, 500}, {7, 0}, {0, 5}})
        EXPECT_EQ(verticalFieldOfView(w, h), 45.0) << w << "x" << h;
    EXPECT_NEAR(horizontal(1080, 1920), horizontal(1920, 1080), 1e-9);
    EXPECT_NEAR(horizontal(768, 1024), horizontal(1024, 768), 1e-9);
    EXPECT_NEAR(verticalFieldOfView(499, 500), 45.0, 0.2) << "no jump at square";
    EXPECT_EQ(verticalFieldOfView(10, 1000), 170.0);
}
