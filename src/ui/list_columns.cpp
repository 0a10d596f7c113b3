#include "ui/list_columns.h"

#include <algorithm>

#include "common/utf8.h"

namespace grimsweep::ui {

namespace {

int TextTwips(std::string_view text) {
    int characters = 0;
    for (std::size_t pos = 0; pos < text.size(); pos += DecodeUtf8At(text, pos).length) {
        ++characters;
    }
    return characters * kTwipsPerCharacter + kCellPaddingTwips;
}

} // namespace

void FitColumnsToText(Control& list, int firstColumnExtra) {
    for (std::size_t column = 0; column < list.Columns().size(); ++column) {
        int wanted = TextTwips(list.Columns()[column].caption);
        for (const ListRow& row : list.Rows()) {
            wanted = std::max(wanted, TextTwips(column == 0 ? row.text : row.SubItem(column)));
        }
        if (column == 0) {
            wanted += firstColumnExtra;
        }
        if (wanted > list.Columns()[column].width) {
            list.SetColumnWidth(column, wanted);
        }
    }
}

} // namespace grimsweep::ui
