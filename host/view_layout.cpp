#include "host/view_layout.h"

#include <algorithm>
#include <cmath>

namespace {

bool sameRect(const ViewRect& a, const ViewRect& b) {
    return a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height;
}

}  // namespace

ViewLayout layoutViews(const ViewRect* monitors, int count, const ViewRect& window) {
    ViewLayout layout{};
    for (int i = 0; i < count && layout.count < MaxViews; ++i) {
        const ViewRect& m = monitors[i];
        // Clip to the window, in 64 bits so that no rectangle can overflow.
        using Wide = long long;
        const Wide left = std::max<Wide>(m.x, window.x);
        const Wide top = std::max<Wide>(m.y, window.y);
        const Wide right = std::min(Wide{m.x} + m.width, Wide{window.x} + window.width);
        const Wide bottom = std::min(Wide{m.y} + m.height, Wide{window.y} + window.height);
        if (right <= left || bottom <= top) continue;
        // GL counts rows from the bottom of the window.
        const ViewRect view{static_cast<int>(left - window.x),
                            static_cast<int>(Wide{window.y} + window.height - bottom),
                            static_cast<int>(right - left), static_cast<int>(bottom - top)};
        bool repeated = false;
        for (int k = 0; k < layout.count; ++k) repeated = repeated || sameRect(layout.views[k], view);
        if (!repeated) layout.views[layout.count++] = view;
    }
    if (layout.count == 0) {
        layout.count = 1;
        layout.views[0] = ViewRect{0, 0, std::max(window.width, 1), std::max(window.height, 1)};
    }
    return layout;
}

bool isWholeWindow(const ViewLayout& layout, const ViewRect& window) {
    return layout.count == 1 &&
           sameRect(layout.views[0], ViewRect{0, 0, window.width, window.height});
}

double verticalFieldOfView(int width, int height) {
    if (width <= 0 || width >= height) return 45.0;
    constexpr double Degrees = 180.0 / 3.14159265358979323846;
    const double tall = static_cast<double>(height) / width;
    const double field = 2.0 * std::atan(std::tan(22.5 / Degrees) * tall * tall) * Degrees;
    return std::min(field, 170.0);
}
