#include "views/EntryListWidget.h"

#include "views/DefaultEntryList.h"
#include "views/SimpleEntryList.h"
#include "views/TreeEntryList.h"

namespace tempolatch {

EntryListWidget* EntryListWidget::create(int style, const ColumnLayout& columns,
                                         const Settings& settings, QWidget* parent) {
    switch (style) {
        case Simple:
            return new SimpleEntryList(columns, parent);
        case Tree:
            return new TreeEntryList(parent);
        default:
            return new DefaultEntryList(settings, parent);
    }
}

}  // namespace tempolatch
