#include "ReviewChart.h"

#include <cairo.h>
#include <dlfcn.h>
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <optional>
#include <vector>

#include "kit/LoadedLibrary.h"
#include "net/PageText.h"
#include "net/WorkFiles.h"

namespace selvane::cli {
namespace {

#define SELVANE_CAIRO_FUNCTIONS(X) X(image_surface_create) X(surface_destroy) X(create) X(destroy) X(set_source_rgb) X(paint) X(select_font_face) X(set_line_width) X(move_to) X(line_to) X(stroke) X(set_line_join) X(set_font_size) X(text_extents) X(save) X(translate) X(rotate) X(show_text) X(restore) X(surface_flush) X(surface_write_to_png_stream) X(debug_reset_static_data)

constexpr double kWidth = 960, kHeight = 540;
constexpr double kLeft = 80, kRight = 170, kTop = 50, kBottom = 60;

struct Colour {
    double r, g, b;
    std::string hex() const {
        char s[8];
        std::snprintf(s, sizeof s, "#%02x%02x%02x", int(r * 255 + 0.5), int(g * 255 + 0.5), int(b * 255 + 0.5));
        return s;
    }
};
// Told apart also by readers who do not see red from green (Okabe and Ito's palette).
constexpr Colour kCurveColours[kBetTypes] = {{0.0, 0.447, 0.698}, {0.902, 0.624, 0.0}, {0.0, 0.620, 0.451},
                                             {0.835, 0.369, 0.0}, {0.8, 0.475, 0.655}, {0.337, 0.706, 0.914}};
constexpr Colour kInk{0.1, 0.1, 0.1}, kGrid{0.85, 0.85, 0.85};

enum class Anchor { Start, Middle, End };

// What both pictures draw; SVG and cairo each say it their way.
class Canvas {
public:
    virtual ~Canvas() = default;
    virtual void line(double x1, double y1, double x2, double y2, Colour c, double width) = 0;
    virtual void polyline(const std::vector<std::pair<double, double>>& points, Colour c, double width) = 0;
    virtual void text(double x, double y, const std::string& s, Anchor a, double size, bool upright = false) = 0;
};

class Svg : public Canvas {
public:
    std::string doc;
    Svg() {
        char head[256];
        std::snprintf(head, sizeof head,
                      "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%g\" height=\"%g\" viewBox=\"0 0 %g %g\" "
                      "font-family=\"DejaVu Sans, sans-serif\">\n",
                      kWidth, kHeight, kWidth, kHeight);
        doc = head;
        doc += "<rect width=\"100%\" height=\"100%\" fill=\"#ffffff\"/>\n";
    }
    void line(double x1, double y1, double x2, double y2, Colour c, double width) override {
        char s[200];
        std::snprintf(s, sizeof s, "<line x1=\"%.1f\" y1=\"%.1f\" x2=\"%.1f\" y2=\"%.1f\" stroke=\"%s\" stroke-width=\"%g\"/>\n",
                      x1, y1, x2, y2, c.hex().c_str(), width);
        doc += s;
    }
    void polyline(const std::vector<std::pair<double, double>>& points, Colour c, double width) override {
        doc += "<polyline fill=\"none\" stroke=\"" + c.hex() + "\" stroke-width=\"" + number(width) +
               "\" stroke-linejoin=\"round\" points=\"";
        for (const auto& [x, y] : points) doc += number(x) + "," + number(y) + " ";
        doc += "\"/>\n";
    }
    void text(double x, double y, const std::string& s, Anchor a, double size, bool upright) override {
        const char* anchor = a == Anchor::Start ? "start" : a == Anchor::Middle ? "middle" : "end";
        char head[200];
        std::snprintf(head, sizeof head, "<text x=\"%.1f\" y=\"%.1f\" font-size=\"%g\" text-anchor=\"%s\" fill=\"%s\"",
                      x, y, size, anchor, kInk.hex().c_str());
        doc += head;
        if (upright) doc += " transform=\"rotate(-90 " + number(x) + " " + number(y) + ")\"";
        doc += ">" + escaped(s) + "</text>\n";
    }

private:
    static std::string number(double v) {
        char s[32];
        std::snprintf(s, sizeof s, "%.1f", v);
        return s;
    }
    static std::string escaped(const std::string& s) {
        std::string out;
        for (char c : s) {
            if (c == '<') out += "&lt;";
            else if (c == '>') out += "&gt;";
            else if (c == '&') out += "&amp;";
            else out += c;
        }
        return out;
    }
};

// cairo, and the X and font libraries it brings, load only when a PNG is asked for: every other
// command starts without them.
struct CairoApi {
#define SELVANE_CAIRO(name) decltype(&cairo_##name) name = nullptr;
    SELVANE_CAIRO_FUNCTIONS(SELVANE_CAIRO)
#undef SELVANE_CAIRO
    decltype(&FcFini) fcFini = nullptr;
};

std::optional<CairoApi> loadCairo() {
    void* cairo = ::dlopen("libcairo.so.2", RTLD_LAZY | RTLD_LOCAL);
    void* fontconfig = ::dlopen("libfontconfig.so.1", RTLD_LAZY | RTLD_LOCAL);
    if (!cairo || !fontconfig) return std::nullopt;
    CairoApi api;
    bool all = true;
#define SELVANE_CAIRO(name) all = all && resolve(cairo, api.name, "cairo_" #name);
    SELVANE_CAIRO_FUNCTIONS(SELVANE_CAIRO)
#undef SELVANE_CAIRO
    if (!all || !resolve(fontconfig, api.fcFini, "FcFini")) return std::nullopt;
    return api;
}

// Null when cairo cannot be loaded.
const CairoApi* cairoApi() {
    static const std::optional<CairoApi> loaded = loadCairo();
    return loaded ? &*loaded : nullptr;
}

class Cairo : public Canvas {
public:
    explicit Cairo(const CairoApi& api)
        : api_(api),
          surface_(api_.image_surface_create(CAIRO_FORMAT_RGB24, int(kWidth), int(kHeight)), api_.surface_destroy),
          cr_(api_.create(surface_.get()), api_.destroy) {
        api_.set_source_rgb(cr_.get(), 1, 1, 1);
        api_.paint(cr_.get());
        api_.select_font_face(cr_.get(), "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    }
    void line(double x1, double y1, double x2, double y2, Colour c, double width) override {
        cairo_t* cr = cr_.get();
        api_.set_source_rgb(cr, c.r, c.g, c.b);
        api_.set_line_width(cr, width);
        api_.move_to(cr, x1, y1);
        api_.line_to(cr, x2, y2);
        api_.stroke(cr);
    }
    void polyline(const std::vector<std::pair<double, double>>& points, Colour c, double width) override {
        if (points.empty()) return;
        cairo_t* cr = cr_.get();
        api_.set_source_rgb(cr, c.r, c.g, c.b);
        api_.set_line_width(cr, width);
        api_.set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
        api_.move_to(cr, points[0].first, points[0].second);
        for (const auto& [x, y] : points) api_.line_to(cr, x, y);
        api_.stroke(cr);
    }
    void text(double x, double y, const std::string& s, Anchor a, double size, bool upright) override {
        cairo_t* cr = cr_.get();
        api_.set_source_rgb(cr, kInk.r, kInk.g, kInk.b);
        api_.set_font_size(cr, size);
        cairo_text_extents_t e;
        api_.text_extents(cr, s.c_str(), &e);
        const double shift = a == Anchor::Start ? 0 : a == Anchor::Middle ? e.x_advance / 2 : e.x_advance;
        api_.save(cr);
        api_.translate(cr, x, y);
        if (upright) api_.rotate(cr, -M_PI / 2);
        api_.move_to(cr, -shift, 0);
        api_.show_text(cr, s.c_str());
        api_.restore(cr);
    }
    // The picture as PNG bytes; empty when cairo could not make them.
    std::string png() {
        std::string bytes;
        api_.surface_flush(surface_.get());
        const auto append = [](void* out, const unsigned char* data, unsigned int length) {
            static_cast<std::string*>(out)->append(reinterpret_cast<const char*>(data), length);
            return CAIRO_STATUS_SUCCESS;
        };
        if (api_.surface_write_to_png_stream(surface_.get(), append, &bytes) != CAIRO_STATUS_SUCCESS) bytes.clear();
        return bytes;
    }

private:
    const CairoApi& api_;
    std::unique_ptr<cairo_surface_t, void (*)(cairo_surface_t*)> surface_;
    std::unique_ptr<cairo_t, void (*)(cairo_t*)> cr_;
};

// A tick step of 1, 2 or 5 times a power of ten giving about `count` steps over span.
double niceStep(double span, int count) {
    const double raw = span / count;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (double m : {1.0, 2.0, 5.0, 10.0})
        if (raw <= m * power) return m * power;
    return 10 * power;
}

std::string tickText(double v, double step) {
    char s[32];
    std::snprintf(s, sizeof s, step < 1 ? "%.1f" : "%.0f", std::abs(v) < step / 1000 ? 0.0 : v);
    return s;
}

void draw(Canvas& c, const ReviewResult& review, const std::string& from, const std::string& to) {
    const std::size_t n = review.races.size();
    std::vector<std::vector<double>> curves;
    double low = 0, high = 0;
    for (BetType b : kAllBetTypes) {
        std::vector<double> units{0};
        for (Cents p : runningProfit(review.races, b)) units.push_back(static_cast<double>(p) / 100.0);
        low = std::min(low, *std::min_element(units.begin(), units.end()));
        high = std::max(high, *std::max_element(units.begin(), units.end()));
        curves.push_back(std::move(units));
    }
    if (high - low < 1) high = low + 1;
    const double yStep = niceStep(high - low, 6);
    low = std::floor(low / yStep) * yStep;
    high = std::ceil(high / yStep) * yStep;
    const double races = std::max<double>(static_cast<double>(n), 1);
    const double plotW = kWidth - kLeft - kRight, plotH = kHeight - kTop - kBottom;
    const auto px = [&](double race) { return kLeft + race / races * plotW; };
    const auto py = [&](double units) { return kTop + (high - units) / (high - low) * plotH; };

    c.text(kLeft + plotW / 2, 28, "Running profit by bet type, " + from + " to " + to, Anchor::Middle, 16);
    for (double v = low; v <= high + yStep / 2; v += yStep) {
        c.line(kLeft, py(v), kLeft + plotW, py(v), std::abs(v) < yStep / 1000 ? kInk : kGrid, 1);
        c.text(kLeft - 8, py(v) + 4, tickText(v, yStep), Anchor::End, 11);
    }
    const double xStep = niceStep(races, 8);
    for (double r = 0; r <= races + 1e-9; r += xStep) {
        c.line(px(r), kTop + plotH, px(r), kTop + plotH + 5, kInk, 1);
        c.text(px(r), kTop + plotH + 19, tickText(r, std::max(xStep, 1.0)), Anchor::Middle, 11);
    }
    c.line(kLeft, kTop, kLeft, kTop + plotH, kInk, 1);
    c.line(kLeft, kTop + plotH, kLeft + plotW, kTop + plotH, kInk, 1);
    c.text(kLeft + plotW / 2, kHeight - 16, "Races, in date, meeting and race order", Anchor::Middle, 13);
    c.text(24, kTop + plotH / 2, "Profit (units of stake " + twoDecimals(review.races.empty() ? 100 : review.races[0].bets.stake) + ")",
           Anchor::Middle, 13, true);

    for (std::size_t k = 0; k < kBetTypes; ++k) {
        std::vector<std::pair<double, double>> points;
        points.reserve(curves[k].size());
        for (std::size_t i = 0; i < curves[k].size(); ++i) points.push_back({px(double(i)), py(curves[k][i])});
        c.polyline(points, kCurveColours[k], 1.5);
        const double y = kTop + 12 + 22 * double(k);
        const double x = kWidth - kRight + 20;
        c.line(x, y - 4, x + 24, y - 4, kCurveColours[k], 3);
        c.text(x + 32, y, betName(kAllBetTypes[k]), Anchor::Start, 12);
    }
}

bool endsWithNoCase(const std::string& s, std::string_view end) {
    return s.size() >= end.size() && text::containsNoCase(s.substr(s.size() - end.size()), end);
}

}  // namespace

bool isChartName(const std::string& path) { return endsWithNoCase(path, ".svg") || endsWithNoCase(path, ".png"); }

std::string writeReviewChart(const std::string& path, const ReviewResult& review, const std::string& from,
                             const std::string& to) {
    std::string bytes;
    if (endsWithNoCase(path, ".svg")) {
        Svg svg;
        draw(svg, review, from, to);
        bytes = svg.doc + "</svg>\n";
    } else {
        const CairoApi* cairo = cairoApi();
        if (!cairo) return "cannot write " + path + ": the picture could not be made (libcairo.so.2 is missing)";
        {
            Cairo picture(*cairo);
            draw(picture, review, from, to);
            bytes = picture.png();
        }
        // cairo and fontconfig keep their font caches for the life of the process; one picture
        // is all a command draws, so they go now rather than stay to be reported as leaks.
        cairo->debug_reset_static_data();
        cairo->fcFini();
        if (bytes.empty()) return "cannot write " + path + ": the picture could not be made";
    }
    return writeWorkFile(path, {bytes}).failure;
}

}  // namespace selvane::cli
