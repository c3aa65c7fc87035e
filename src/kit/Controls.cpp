#include "kit/Controls.h"

#include <stdexcept>

namespace selvane {

void Control::setEnabled(bool on) {
    if (enabled_ == on) return;
    enabled_ = on;
    changed();
}

void Control::setVisible(bool on) {
    if (visible_ == on) return;
    visible_ = on;
    changed();
}

void Control::setFocus() {
    ++focusRequests_;
    changed();
}

void Label::setCaption(std::string c) {
    caption_ = std::move(c);
    changed();
}

void Label::setLeft(int twips) {
    left_ = twips;
    changed();
}

void TextBox::setText(std::string t) {
    text_ = std::move(t);
    changed();
}

void PictureBox::setWidth(int twips) {
    width_ = twips;
    changed();
}

void ComboBox::addItem(std::string entry) {
    entries_.push_back(std::move(entry));
    changed();
}

void ComboBox::clear() {
    entries_.clear();
    selected_ = -1;
    text_.clear();
    changed();
}

void ComboBox::setSelectedIndex(int index) {
    if (index < -1 || index >= count()) throw std::out_of_range("ComboBox: no entry " + std::to_string(index));
    selected_ = index;
    text_ = index < 0 ? std::string() : entries_[index];
    changed();
    if (index >= 0 && onClick) onClick();
}

void ReportList::setColumns(std::vector<ReportColumn> columns) {
    columns_ = std::move(columns);
    changed();
}

void ReportList::setStyle(ReportListStyle s) {
    style_ = s;
    changed();
}

void ReportList::setCheckBoxes(bool on) {
    checkBoxes_ = on;
    changed();
}

int ReportList::addRow(std::string text, std::vector<std::string> subItems) {
    rows_.push_back(ReportRow{std::move(text), std::move(subItems), false, kDefaultColour, {}});
    changed();
    return count() - 1;
}

void ReportList::clear() {
    rows_.clear();
    selected_ = -1;
    changed();
}

std::string ReportList::subItem(int index, int k) const {
    const ReportRow& r = rows_.at(index);
    if (k < 1 || k > static_cast<int>(r.subItems.size())) return {};
    return r.subItems[k - 1];
}

void ReportList::setChecked(int index, bool on) {
    rows_.at(index).checked = on;
    changed();
}

void ReportList::setForeColour(int index, Colour c) {
    rows_.at(index).foreColour = c;
    changed();
}

void ReportList::setTooltip(int index, std::string text) {
    rows_.at(index).tooltip = std::move(text);
    changed();
}

void ReportList::setSelectedIndex(int index) {
    if (index < -1 || index >= count()) throw std::out_of_range("ReportList: no row " + std::to_string(index));
    selected_ = index;
    changed();
}

void Grid::setCols(int n) {
    if (n < 1) throw std::out_of_range("Grid: column count");
    cols_ = n;
    for (auto& row : cells_) row.resize(n);
    widths_.resize(n, 1000);
    changed();
}

void Grid::setRowCount(int n) {
    if (n < 0) throw std::out_of_range("Grid: row count");
    cells_.resize(n, std::vector<Cell>(cols_));
    changed();
}

void Grid::addItem(const std::string& tabSeparated) {
    std::vector<Cell> row(cols_);
    std::size_t start = 0;
    for (int c = 0; c < cols_; ++c) {
        std::size_t tab = tabSeparated.find('\t', start);
        row[c].text = tabSeparated.substr(start, tab == std::string::npos ? std::string::npos : tab - start);
        if (tab == std::string::npos) break;
        start = tab + 1;
    }
    cells_.push_back(std::move(row));
    changed();
}

void Grid::setCell(int row, int col, std::string text) {
    cells_.at(row).at(col).text = std::move(text);
    changed();
}

void Grid::setCellBackColour(int row, int col, Colour c) {
    cells_.at(row).at(col).back = c;
    changed();
}

void Grid::setColWidth(int col, int twips) {
    widths_.at(col) = twips;
    changed();
}

void StatusBar::setPanel(int index, std::string text) {
    panels_[index == 1 ? 0 : 1] = std::move(text);
    changed();
}

void StatusBar::setPanelTooltip(int index, std::string text) {
    tooltips_[index == 1 ? 0 : 1] = std::move(text);
    changed();
}

void ProgressBar::setMin(int v) {
    min_ = v;
    changed();
}

void ProgressBar::setMax(int v) {
    max_ = v;
    changed();
}

void ProgressBar::setValue(int v) {
    value_ = v;
    changed();
}

void Timer::setInterval(int ms) {
    interval_ = ms;
    changed();
}

void WebView::navigate(std::string location) {
    location_ = std::move(location);
    ++navigations_;
    changed();
}

}  // namespace selvane
