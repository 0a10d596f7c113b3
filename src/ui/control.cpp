#include "ui/control.h"

#include "common/text.h"
#include "ui/form.h"

namespace grimsweep::ui {

const char* TypeName(ControlType type) {
    switch (type) {
    case ControlType::Label:
        return "Label";
    case ControlType::SkinLabel:
        return "SkinLabel";
    case ControlType::CommandButton:
        return "CommandButton";
    case ControlType::CheckBox:
        return "CheckBox";
    case ControlType::OptionButton:
        return "OptionButton";
    case ControlType::Frame:
        return "Frame";
    case ControlType::PictureBox:
        return "PictureBox";
    case ControlType::Shape:
        return "Shape";
    case ControlType::TextBox:
        return "TextBox";
    case ControlType::ComboBox:
        return "ComboBox";
    case ControlType::ListView:
        return "ListView";
    case ControlType::TabStrip:
        return "TabStrip";
    case ControlType::ProgressBar:
        return "ProgressBar";
    case ControlType::DatePicker:
        return "DTPicker";
    case ControlType::TimePicker:
        return "DTPickerTime";
    case ControlType::Menu:
        return "Menu";
    case ControlType::Timer:
        return "Timer";
    }
    return "";
}

Control::Control(Form& form, std::string name, int index, ControlType type, Control* container)
    : form_(form), name_(std::move(name)), index_(index), type_(type), container_(container) {
    if (type_ == ControlType::Timer) {
        enabled_ = false;
    }
}

void Control::Changed(Change change) {
    form_.ControlChanged(*this, change);
}

void Control::RowsChanged(RowChangeKind kind, std::size_t first, std::size_t count) {
    form_.RowsChanged(*this, {kind, first, count});
}

void Control::SetCaption(std::string caption) {
    if (caption_ != caption) {
        caption_ = std::move(caption);
        Changed(Change::Caption);
    }
}

void Control::SetEnabled(bool enabled) {
    if (enabled_ != enabled) {
        enabled_ = enabled;
        Changed(type_ == ControlType::Timer ? Change::Timer : Change::Enabled);
    }
}

void Control::SetVisible(bool visible) {
    if (visible_ != visible) {
        visible_ = visible;
        Changed(Change::Visible);
    }
}

bool Control::ShownOnForm() const {
    for (const Control* c = this; c; c = c->container_) {
        if (!c->visible_) {
            return false;
        }
    }
    return true;
}

void Control::Move(int left, int top, int width, int height) {
    Bounds bounds{left, top, width < 0 ? 0 : width, height < 0 ? 0 : height};
    if (bounds.left != bounds_.left || bounds.top != bounds_.top || bounds.width != bounds_.width ||
        bounds.height != bounds_.height) {
        bounds_ = bounds;
        Changed(Change::Position);
    }
}

void Control::SetBold(bool bold) {
    if (bold_ != bold) {
        bold_ = bold;
        Changed(Change::Style);
    }
}

void Control::SetItalic(bool italic) {
    if (italic_ != italic) {
        italic_ = italic;
        Changed(Change::Style);
    }
}

void Control::SetBackColor(std::uint32_t color) {
    backColor_ = color;
    Changed(Change::Style);
}

void Control::SetPicture(std::string iconResource) {
    picture_ = std::move(iconResource);
    Changed(Change::Style);
}

void Control::SetForeColor(std::uint32_t color) {
    foreColor_ = color;
    Changed(Change::Style);
}

void Control::SetValue(int value) {
    if (type_ == ControlType::OptionButton) {
        const bool select = value != 0;
        if (select) {
            // Selecting one option clears the others of the same group (same container).
            for (const auto& other : form_.Controls()) {
                if (other.get() != this && other->type_ == ControlType::OptionButton &&
                    other->container_ == container_ && other->value_ != 0) {
                    other->value_ = 0;
                    other->Changed(Change::Value);
                }
            }
        }
        const bool changed = (value_ != 0) != select;
        value_ = select ? 1 : 0;
        if (changed) {
            Changed(Change::Value);
        }
        // Selecting runs the click handler, even when already selected; clearing runs nothing.
        if (select && onClick) {
            onClick();
        }
        return;
    }
    const bool changed = value_ != value;
    value_ = value;
    if (changed) {
        Changed(Change::Value);
    }
    if (type_ == ControlType::CheckBox && changed && onClick) {
        onClick();
    }
}

bool Control::PressKey(int key) {
    return enabled_ && onKeyPress && onKeyPress(key);
}

void Control::SetMax(int max) {
    max_ = max;
    Changed(Change::Value);
}

void Control::Click() {
    if (!enabled_) {
        return;
    }
    switch (type_) {
    case ControlType::CheckBox:
        SetValue(value_ ? 0 : 1);
        return;
    case ControlType::OptionButton:
        SetValue(1);
        return;
    default:
        if (onClick) {
            onClick();
        }
    }
}

bool Control::PressMouse(const MouseDown& press) {
    if (!enabled_) {
        return false;
    }
    return !onMouseDown || onMouseDown(press) == PressOutcome::PassOn;
}

void Control::ClickWithMouse(const MouseDown& press) {
    // Only the left button clicks.
    if (PressMouse(press) && press.button == MouseButton::Left) {
        Click();
    }
}

void Control::AddItem(std::string item) {
    items_.push_back(std::move(item));
    Changed(Change::Rows);
}

void Control::ClearItems() {
    items_.clear();
    listIndex_ = -1;
    Changed(Change::Rows);
}

void Control::SetListIndex(int index) {
    if (index < -1 || index >= static_cast<int>(items_.size())) {
        return;
    }
    listIndex_ = index;
    if (index >= 0) {
        caption_ = items_[static_cast<std::size_t>(index)];
    }
    Changed(Change::Selection);
    if (onClick) {
        onClick();
    }
}

void Control::AddColumn(std::string caption, int width) {
    columns_.push_back({std::move(caption), width});
    Changed(Change::Rows);
}

void Control::SetColumnCaption(std::size_t n, std::string caption) {
    if (n >= 1 && n <= columns_.size() && columns_[n - 1].caption != caption) {
        columns_[n - 1].caption = std::move(caption);
        Changed(Change::Rows);
    }
}

void Control::SetColumnWidth(std::size_t column, int width) {
    if (column < columns_.size() && columns_[column].width != width) {
        columns_[column].width = width;
        Changed(Change::Rows);
    }
}

void Control::SetCheckBoxes(bool on) {
    if (checkBoxes_ != on) {
        checkBoxes_ = on;
        Changed(Change::Rows);
    }
}

std::size_t Control::AddRow(ListRow row) {
    rows_.push_back(std::move(row));
    RowsChanged(RowChangeKind::Added, rows_.size() - 1, 1);
    return rows_.size() - 1;
}

std::size_t Control::AddRows(std::vector<ListRow> rows) {
    const std::size_t first = rows_.size();
    if (rows.empty()) {
        return first;
    }
    rows_.insert(rows_.end(), std::make_move_iterator(rows.begin()), std::make_move_iterator(rows.end()));
    BeginRowUpdate();
    RowsChanged(RowChangeKind::Added, first, rows.size());
    EndRowUpdate();
    return first;
}

void Control::RemoveRow(std::size_t row) {
    if (row < rows_.size()) {
        rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(row));
        RowsChanged(RowChangeKind::Removed, row, 1);
    }
}

std::size_t Control::RemoveRowsIf(const std::function<bool(const ListRow&)>& match) {
    // Runs of matching rows, found before any row moves, so that the predicate sees each row once.
    std::vector<std::pair<std::size_t, std::size_t>> runs; // first, count
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        if (!match(rows_[i])) {
            continue;
        }
        if (!runs.empty() && runs.back().first + runs.back().second == i) {
            ++runs.back().second;
        } else {
            runs.emplace_back(i, 1);
        }
    }
    if (runs.empty()) {
        return 0;
    }
    std::size_t kept = runs.front().first;
    std::size_t removed = 0;
    for (std::size_t r = 0; r < runs.size(); ++r) {
        const std::size_t end = r + 1 < runs.size() ? runs[r + 1].first : rows_.size();
        for (std::size_t i = runs[r].first + runs[r].second; i < end; ++i) {
            rows_[kept++] = std::move(rows_[i]);
        }
        removed += runs[r].second;
    }
    rows_.resize(kept);
    // Last run first: the indexes of the runs before it stay valid for the host.
    BeginRowUpdate();
    for (auto run = runs.rbegin(); run != runs.rend(); ++run) {
        RowsChanged(RowChangeKind::Removed, run->first, run->second);
    }
    EndRowUpdate();
    return removed;
}

void Control::ClearRows() {
    if (!rows_.empty()) {
        rows_.clear();
        RowsChanged(RowChangeKind::Cleared);
    }
}

void Control::BeginRowUpdate() {
    if (rowUpdates_++ == 0) {
        RowsChanged(RowChangeKind::UpdateBegin);
    }
}

void Control::EndRowUpdate() {
    if (rowUpdates_ > 0 && --rowUpdates_ == 0) {
        RowsChanged(RowChangeKind::UpdateEnd);
    }
}

void Control::SetSubItem(std::size_t row, std::size_t n, std::string text) {
    if (row >= rows_.size() || n == 0) {
        return;
    }
    auto& subItems = rows_[row].subItems;
    if (subItems.size() < n) {
        subItems.resize(n);
    }
    subItems[n - 1] = std::move(text);
    RowsChanged(RowChangeKind::Changed, row, 1);
}

void Control::SetRowChecked(std::size_t row, bool checked) {
    if (row >= rows_.size() || rows_[row].checked == checked) {
        return;
    }
    rows_[row].checked = checked;
    RowsChanged(RowChangeKind::Changed, row, 1);
    if (onItemCheck) {
        onItemCheck(row);
    }
}

std::optional<std::size_t> Control::FindRow(std::string_view text) const {
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        if (StartsWithIgnoreCase(rows_[i].text, text)) {
            return i;
        }
    }
    return std::nullopt;
}

void Control::AddTab(std::string caption) {
    items_.push_back(std::move(caption));
    if (listIndex_ < 0) {
        listIndex_ = 0;
    }
    Changed(Change::Rows);
}

void Control::SetTabCaption(int tab, std::string caption) {
    if (tab >= 1 && tab <= static_cast<int>(items_.size()) &&
        items_[static_cast<std::size_t>(tab - 1)] != caption) {
        items_[static_cast<std::size_t>(tab - 1)] = std::move(caption);
        Changed(Change::Rows);
    }
}

void Control::SelectTab(int tab) {
    if (tab < 1 || tab > static_cast<int>(items_.size())) {
        return;
    }
    listIndex_ = tab - 1;
    Changed(Change::Selection);
    if (onClick) {
        onClick();
    }
}

void Control::SetDateValue(std::optional<LocalDateTime> value) {
    date_ = value;
    Changed(Change::Value);
    if (onChange) {
        onChange();
    }
}

void Control::SetInterval(int milliseconds) {
    if (interval_ != milliseconds) {
        interval_ = milliseconds;
        Changed(Change::Timer);
    }
}

void Control::Tick() {
    if (enabled_ && onTimer) {
        onTimer();
    }
}

} // namespace grimsweep::ui
