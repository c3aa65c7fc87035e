#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace selvane {

// BGR colour as the platform writes it (&HC0C000 is 0xC0C000).
using Colour = std::uint32_t;
inline constexpr Colour kDefaultColour = 0xFFFFFFFF;  // "not set": the widget's own colour

// Base of every control model: enabled/visible, one observer told of every change.
class Control {
public:
    using Observer = std::function<void()>;
    virtual ~Control() = default;

    void setObserver(Observer o) { observer_ = std::move(o); }
    bool enabled() const { return enabled_; }
    void setEnabled(bool on);
    bool visible() const { return visible_; }
    void setVisible(bool on);
    // The focus is only recorded; ui/ moves it.
    void setFocus();
    int focusRequests() const { return focusRequests_; }

protected:
    void changed() const {
        if (observer_) observer_();
    }

private:
    Observer observer_;
    bool enabled_ = true;
    bool visible_ = true;
    int focusRequests_ = 0;
};

class Label : public Control {
public:
    explicit Label(std::string caption = {}) : caption_(std::move(caption)) {}
    const std::string& caption() const { return caption_; }
    void setCaption(std::string c);
    int left() const { return left_; }
    void setLeft(int twips);
    // Only the ticker label answers clicks; ui/ forwards them when this is set.
    std::function<void()> onClick;

private:
    std::string caption_;
    int left_ = 0;
};

class Frame : public Label {
public:
    using Label::Label;
};

class Button : public Control {
public:
    explicit Button(std::string caption = {}) : caption_(std::move(caption)) {}
    const std::string& caption() const { return caption_; }
    std::function<void()> onClick;
    void click() {
        if (onClick) onClick();
    }
    // A mouse button let go over the button: 1 left, 2 right, 4 middle. Runs whatever the
    // button, as only the handler knows which ones it answers.
    std::function<void(int button)> onMouseUp;
    void mouseUp(int button) {
        if (onMouseUp) onMouseUp(button);
    }

private:
    std::string caption_;
};

class TextBox : public Control {
public:
    const std::string& text() const { return text_; }
    void setText(std::string t);

private:
    std::string text_;
};

class PictureBox : public Control {
public:
    int width() const { return width_; }
    void setWidth(int twips);
    std::function<void()> onClick;

private:
    int width_ = 0;
};

// A drop-down list. Selecting an entry, from code or by the user, runs onClick before returning.
class ComboBox : public Control {
public:
    const std::vector<std::string>& entries() const { return entries_; }
    int count() const { return static_cast<int>(entries_.size()); }
    void addItem(std::string entry);
    void clear();
    int selectedIndex() const { return selected_; }
    // Out of range throws std::out_of_range, as the platform raises an error.
    void setSelectedIndex(int index);
    const std::string& text() const { return text_; }
    std::function<void()> onClick;

private:
    std::vector<std::string> entries_;
    int selected_ = -1;
    std::string text_;
};

struct ReportColumn {
    std::string title;
    int widthTwips = 0;
};

// What the window's load gives each list besides its columns: report view, a single-line
// border, and labels the user cannot edit in place.
struct ReportListStyle {
    bool reportView = false;
    bool singleBorder = false;
    bool manualLabelEdit = false;
};

struct ReportRow {
    std::string text;                   // column 0
    std::vector<std::string> subItems;  // columns 1..n
    bool checked = false;
    Colour foreColour = kDefaultColour;  // applies to the text and every sub-item
    std::string tooltip{};               // shown over the whole row; empty for none
};

// A report (details) list view.
class ReportList : public Control {
public:
    void setColumns(std::vector<ReportColumn> columns);
    const std::vector<ReportColumn>& columns() const { return columns_; }
    bool checkBoxes() const { return checkBoxes_; }
    void setCheckBoxes(bool on);
    const ReportListStyle& style() const { return style_; }
    void setStyle(ReportListStyle s);

    const std::vector<ReportRow>& rows() const { return rows_; }
    int count() const { return static_cast<int>(rows_.size()); }
    int addRow(std::string text, std::vector<std::string> subItems = {});
    void clear();
    const ReportRow& row(int index) const { return rows_.at(index); }
    // Sub-item k (1-based); empty when the row has fewer.
    std::string subItem(int index, int k) const;
    void setChecked(int index, bool on);
    void setForeColour(int index, Colour c);
    void setTooltip(int index, std::string text);

    int selectedIndex() const { return selected_; }
    void setSelectedIndex(int index);  // -1 for none; does not run a handler

    std::function<void()> onClick;
    std::function<void()> onDoubleClick;
    // The user ticked or unticked row index; the mark is already in the model.
    std::function<void(int index)> onItemCheck;

private:
    std::vector<ReportColumn> columns_;
    std::vector<ReportRow> rows_;
    int selected_ = -1;
    bool checkBoxes_ = false;
    ReportListStyle style_;
};

// A flexible grid: row 0 is the header row.
class Grid : public Control {
public:
    int cols() const { return cols_; }
    void setCols(int n);
    int rowCount() const { return static_cast<int>(cells_.size()); }
    // Fewer rows drops the later ones; more appends empty rows.
    void setRowCount(int n);
    // Appends one row; cells separated by tab characters.
    void addItem(const std::string& tabSeparated);
    const std::string& cell(int row, int col) const { return cells_.at(row).at(col).text; }
    void setCell(int row, int col, std::string text);
    Colour cellBackColour(int row, int col) const { return cells_.at(row).at(col).back; }
    void setCellBackColour(int row, int col, Colour c);
    int colWidth(int col) const { return widths_.at(col); }
    void setColWidth(int col, int twips);

private:
    struct Cell {
        std::string text;
        Colour back = kDefaultColour;
    };
    int cols_ = 2;
    std::vector<std::vector<Cell>> cells_{1, std::vector<Cell>(2)};
    std::vector<int> widths_ = std::vector<int>(2, 1000);
};

class StatusBar : public Control {
public:
    const std::string& panel(int index) const { return panels_.at(index - 1); }  // 1 or 2
    void setPanel(int index, std::string text);
    const std::string& panelTooltip(int index) const { return tooltips_.at(index - 1); }
    void setPanelTooltip(int index, std::string text);

private:
    std::array<std::string, 2> panels_;
    std::array<std::string, 2> tooltips_;
};

class ProgressBar : public Control {
public:
    int min() const { return min_; }
    int max() const { return max_; }
    int value() const { return value_; }
    void setMin(int v);
    void setMax(int v);
    void setValue(int v);

private:
    int min_ = 0, max_ = 100, value_ = 0;
};

class Timer : public Control {
public:
    int interval() const { return interval_; }
    void setInterval(int ms);
    std::function<void()> onTimer;
    void fire() {
        if (enabled() && onTimer) onTimer();
    }

private:
    int interval_ = 0;
};

// An embedded browser: the page it shows and the chrome it is allowed. ui/ shows local pages
// only, with scripts and network access off.
class WebView : public Control {
public:
    const std::string& location() const { return location_; }
    // A local file path or a URL; empty shows a blank page.
    void navigate(std::string location);
    int navigations() const { return navigations_; }
    // The window's call stays; ui/ keeps every view offline whatever it is given.
    void setOffline(bool) {}

    // A link the user clicked in the page, with its address; the view never follows it.
    std::function<void(const std::string& address)> onLinkClick;

private:
    std::string location_;
    int navigations_ = 0;
};

}  // namespace selvane
