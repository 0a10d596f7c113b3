// A control of a form: a name and control-array index, a type, a caption, enabled and visible flags, a
// position in twips inside its container, and the state of its kind. Every change is reported to the
// host, which mirrors it in a real window (or, headless, keeps time for timers). Assigning a check box
// value or selecting an option button runs its click handler exactly as a user click does.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/system.h"

namespace grimsweep::ui {

// The key codes the program handles (the window system's virtual-key codes).
inline constexpr int kKeyReturn = 13;

class Form;

enum class ControlType {
    Label,
    SkinLabel,
    CommandButton,
    CheckBox,
    OptionButton,
    Frame,
    PictureBox,
    Shape,
    TextBox,
    ComboBox,
    ListView,
    TabStrip,
    ProgressBar,
    DatePicker,
    TimePicker,
    Menu,
    Timer,
};

// The type name as the program's windows know it ("CommandButton", "ListView", ...).
const char* TypeName(ControlType type);

// What changed, so that a host can update only that.
enum class Change {
    Caption,
    Enabled,
    Visible,
    Position,
    Value,
    Style, // font, colours, picture
    Rows,  // list columns and check boxes, combo items, tabs (list rows change row by row: RowChange)
    Selection,
    Timer, // interval or enabled state of a timer
};

struct Bounds {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

struct ListColumn {
    std::string caption;
    int width = 1400; // twips
};

struct ListRow {
    std::string text;
    std::vector<std::string> subItems; // sub-item 1 is subItems[0]
    int smallIcon = 0;                 // 0 for none
    bool checked = false;

    // Sub-item n (1-based); empty when it was never set.
    std::string SubItem(std::size_t n) const { return n >= 1 && n <= subItems.size() ? subItems[n - 1] : ""; }
};

// A list's rows: removing the first or the last row costs the same whatever the length.
using ListRows = std::deque<ListRow>;

// One change of a list view's rows, reported to the host as it happens so that a window can follow row
// by row. A host applies each change to its list as the changes before it left it; the text of added
// and changed rows is the model's at the same index at that moment.
enum class RowChangeKind {
    Added,       // rows first .. first + count - 1 are new
    Removed,     // rows first .. first + count - 1 are gone; later rows moved up
    Changed,     // row first: text, sub-items, icon or check mark
    Cleared,     // every row is gone
    UpdateBegin, // many changes follow: the window may stop drawing
    UpdateEnd,   // the last of them: draw again
};

// A mouse button going down on a control: which button, whether Shift was held, and where, in twips from
// the control's top left corner.
enum class MouseButton { Left, Right, Middle };
struct MouseDown {
    MouseButton button = MouseButton::Left;
    bool shift = false;
    int x = 0;
    int y = 0;
};
// What a mouse-down handler did with the press: passed it on to the control (a click may follow when the
// button comes up) or took it (it opened a box, say), so that the press ends there without a click.
enum class PressOutcome { PassOn, Taken };

struct RowChange {
    RowChangeKind kind = RowChangeKind::Changed;
    std::size_t first = 0;
    std::size_t count = 0;

    bool operator==(const RowChange&) const = default;
};

class Control {
public:
    Control(Form& form, std::string name, int index, ControlType type, Control* container);
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    Form& Owner() const { return form_; }
    const std::string& Name() const { return name_; }
    int Index() const { return index_; } // -1 when the control is not part of a control array
    ControlType Type() const { return type_; }
    Control* Container() const { return container_; }

    const std::string& Caption() const { return caption_; }
    void SetCaption(std::string caption);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    // Visible and every container visible too.
    bool ShownOnForm() const;
    const Bounds& Position() const { return bounds_; }
    void Move(int left, int top, int width, int height);
    void Move(const Bounds& bounds) { Move(bounds.left, bounds.top, bounds.width, bounds.height); }

    bool Bold() const { return bold_; }
    void SetBold(bool bold);
    bool Italic() const { return italic_; }
    void SetItalic(bool italic);
    std::optional<std::uint32_t> BackColor() const { return backColor_; }
    std::optional<std::uint32_t> ForeColor() const { return foreColor_; }
    void SetBackColor(std::uint32_t color);
    void SetForeColor(std::uint32_t color);
    // Picture boxes: the icon resource of the executable the box shows, centred; empty for none.
    const std::string& Picture() const { return picture_; }
    void SetPicture(std::string iconResource);

    // Check box (0 unticked, 1 ticked), option button (0/1), progress bar value. Setting a check box or
    // option button runs its click handler, as a user click does; selecting an option clears the other
    // options of the same container.
    int Value() const { return value_; }
    void SetValue(int value);
    int Max() const { return max_; }
    void SetMax(int max);
    // A user click on a button, check box, option, label or menu item. Check boxes toggle, options select.
    void Click();
    // A mouse button going down on the control: runs onMouseDown. Returns whether the press goes on to
    // the control; a disabled control gets no press, and neither does one whose handler took it.
    bool PressMouse(const MouseDown& press);
    // A user's whole click with the mouse: the press, then the click unless the press was taken.
    void ClickWithMouse(const MouseDown& press);
    // A key pressed in the control (a text box): runs onKeyPress with the key's code (kKeyReturn, ...).
    // Returns whether a handler took the key; a disabled control takes none.
    bool PressKey(int key);

    // Text boxes and combo boxes.
    const std::string& Text() const { return caption_; }
    void SetText(std::string text) { SetCaption(std::move(text)); }
    // A text box that wraps into many lines, and one the user can read and select but not edit. Both are
    // fixed when the window is made: set them before the form is shown.
    bool MultiLine() const { return multiLine_; }
    void SetMultiLine(bool on) { multiLine_ = on; }
    bool Locked() const { return locked_; }
    void SetLocked(bool on) { locked_ = on; }
    const std::vector<std::string>& Items() const { return items_; }
    void AddItem(std::string item);
    void ClearItems();
    int ListIndex() const { return listIndex_; }
    void SetListIndex(int index); // runs onClick, as choosing an entry does

    // List views.
    bool CheckBoxes() const { return checkBoxes_; }
    void SetCheckBoxes(bool on);
    const std::vector<ListColumn>& Columns() const { return columns_; }
    void AddColumn(std::string caption, int width);
    // The header text of column n (1-based); a column that does not exist is left alone.
    void SetColumnCaption(std::size_t n, std::string caption);
    void SetColumnWidth(std::size_t column, int width);
    const ListRows& Rows() const { return rows_; }
    // Returns the new row's index.
    std::size_t AddRow(ListRow row);
    // Adds the rows at the end in one update; returns the index of the first.
    std::size_t AddRows(std::vector<ListRow> rows);
    void RemoveRow(std::size_t row);
    // Removes every row that matches, in one update; the rest keep their order, icons and check marks.
    // Returns how many rows went.
    std::size_t RemoveRowsIf(const std::function<bool(const ListRow&)>& match);
    void ClearRows();
    // Brackets many row changes so that the window draws them once, at the end. Pairs nest.
    void BeginRowUpdate();
    void EndRowUpdate();
    void SetSubItem(std::size_t row, std::size_t n, std::string text);
    // Changing a check mark runs onItemCheck with the row, as a user's tick does.
    void SetRowChecked(std::size_t row, bool checked);
    // The first row whose text starts with `text` (partial match, ignoring case), or nothing.
    std::optional<std::size_t> FindRow(std::string_view text) const;

    // Tab strips: tabs are numbered from 1; selecting one runs onClick.
    void AddTab(std::string caption);
    // The caption of tab n (1-based); a tab that does not exist is left alone.
    void SetTabCaption(int tab, std::string caption);
    const std::vector<std::string>& Tabs() const { return items_; }
    int SelectedTab() const { return listIndex_ + 1; }
    void SelectTab(int tab);

    // Date and time pickers; a picker may hold no value.
    const std::optional<LocalDateTime>& DateValue() const { return date_; }
    void SetDateValue(std::optional<LocalDateTime> value);

    // Menus.
    bool Separator() const { return separator_; }
    void SetSeparator(bool separator) { separator_ = separator; }

    // Timers: interval in milliseconds; Enabled() says whether it runs.
    int Interval() const { return interval_; }
    void SetInterval(int milliseconds);
    void Tick(); // the host calls it when the interval has passed

    // Handlers.
    std::function<void()> onClick;
    std::function<void(std::size_t row)> onItemCheck;
    std::function<void()> onTimer;
    std::function<void()> onMouseMove;
    std::function<PressOutcome(const MouseDown&)> onMouseDown;
    std::function<void()> onChange;
    // Returns true when it took the key, which then does nothing else in the window.
    std::function<bool(int key)> onKeyPress;

    // Host's own data (its window handle), untouched by the model.
    std::uintptr_t hostHandle = 0;

private:
    void Changed(Change change);
    void RowsChanged(RowChangeKind kind, std::size_t first = 0, std::size_t count = 0);

    Form& form_;
    std::string name_;
    int index_;
    ControlType type_;
    Control* container_;
    std::string caption_;
    bool enabled_ = true;
    bool visible_ = true;
    Bounds bounds_;
    bool bold_ = false;
    bool italic_ = false;
    std::optional<std::uint32_t> backColor_;
    std::optional<std::uint32_t> foreColor_;
    std::string picture_;
    int value_ = 0;
    int max_ = 100;
    std::vector<std::string> items_; // combo items or tab captions
    int listIndex_ = -1;
    bool checkBoxes_ = false;
    std::vector<ListColumn> columns_;
    ListRows rows_;
    int rowUpdates_ = 0;
    std::optional<LocalDateTime> date_;
    bool separator_ = false;
    int interval_ = 0;
    bool multiLine_ = false;
    bool locked_ = false;
};

} // namespace grimsweep::ui
